// Reading a whole input file (scenario, timeline, mesh, bitmap): only a
// regular file is read, never a device, FIFO or folder, and only up to a size
// that fits comfortably in memory.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace sim {

// An input that cannot be read; what() is "path: reason", one line.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr std::size_t input_size_limit = std::size_t(256) << 20;

// The bytes of `path`; throws InputError when it is missing, not a regular
// file, or larger than `limit` bytes.
std::string read_input_file(const std::string& path, std::size_t limit = input_size_limit);

}  // namespace sim
