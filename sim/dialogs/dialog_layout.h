// A dialog record laid out from a module's template, as both platforms'
// dialog managers make it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/dialogs.h"

namespace sim {

// The dialog as the template's bytes lay it out: caption, style, size and
// controls. A template that cannot be read gives nothing and a message on
// stderr naming `where` it came from.
std::optional<Dialog> dialog_from_template(const std::uint8_t* data, std::size_t size, const std::string& where);

}  // namespace sim
