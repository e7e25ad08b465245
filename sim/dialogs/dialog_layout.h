// A dialog record laid out from a module's template, as both platforms'
// dialog managers make it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/dialogs.h"

namespace sim {

class ModuleFaults;

// The dialog as the template's bytes lay it out: caption, style, size and
// controls. A template that cannot be read gives nothing and a warning in
// `faults` naming dialog `resid` of `module`, the file it came from.
std::optional<Dialog> dialog_from_template(const std::uint8_t* data, std::size_t size, int resid,
                                           const std::string& module, ModuleFaults& faults);

}  // namespace sim
