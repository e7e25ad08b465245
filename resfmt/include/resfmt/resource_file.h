// A compiled Win32 resource file (.res): the resources a resource compiler
// makes of a script, each a header (type, name, language) and its data.
// The stand-in host reads a module's resources from such a file beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resfmt/byte_reader.h"

namespace resfmt {

constexpr std::uint16_t rt_bitmap = 2;
constexpr std::uint16_t rt_dialog = 5;

// A resource type or name, or a class or text in a dialog template: either a
// number (an ordinal) or a string.
struct NameOrId {
    bool is_id = false;
    std::uint16_t id = 0;
    std::string name;  // UTF-8; used when !is_id

    static NameOrId number(std::uint16_t n) { return {true, n, {}}; }
    static NameOrId text(std::string s) { return {false, 0, std::move(s)}; }
    bool operator==(const NameOrId& o) const { return is_id == o.is_id && (is_id ? id == o.id : name == o.name); }
    bool operator!=(const NameOrId& o) const { return !(*this == o); }
    // "#107" for a number, the string itself otherwise.
    std::string str() const { return is_id ? "#" + std::to_string(id) : name; }
};

struct ResourceEntry {
    NameOrId type;
    NameOrId name;
    std::uint16_t language = 0;
    std::uint16_t memory_flags = 0;
    std::vector<std::uint8_t> data;
};

// Parses a whole .res file. The empty entry that marks a 32-bit file is
// left out. Throws ParseError (a std::runtime_error) naming `what` and the
// offset for any truncated or inconsistent header.
std::vector<ResourceEntry> parse_resource_file(const std::uint8_t* data, std::size_t size,
                                               const std::string& what = "resource file");
// Reads and parses `path`; throws std::runtime_error when it cannot be read.
std::vector<ResourceEntry> read_resource_file(const std::string& path);

// The first entry of that type and numeric name, in any language, or null.
// The pointer is into `entries`.
const ResourceEntry* find_resource(const std::vector<ResourceEntry>& entries, std::uint16_t type, std::uint16_t id);

}  // namespace resfmt
