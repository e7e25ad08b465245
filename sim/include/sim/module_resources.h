// A module's own resources (dialog templates, bitmaps): on Windows inside
// its DLL, elsewhere in the compiled .res file beside the library, named as
// the library with ".res" for its suffix. A module without them has none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/module.h"

namespace sim {

constexpr std::uint16_t resource_type_bitmap = 2;  // a DIB without its file header
constexpr std::uint16_t resource_type_dialog = 5;  // a dialog template

// The file a module's resources are read from beside its library, or empty
// where they are inside the library itself.
std::string module_resource_file(const std::string& module_path);

// A copy of the bytes of the resource numbered `id` of type `type`; empty
// when the module has no such resource or its resources cannot be read. When
// `problem` is given and the resource file, read anew since it last changed,
// cannot be used, *problem says why; otherwise it is left empty. The host
// passes that on as a warning (Host::take_warnings) and never prints it.
std::vector<std::uint8_t> module_resource(const Module& module, std::uint16_t type, std::uint16_t id,
                                          std::string* problem = nullptr);

}  // namespace sim
