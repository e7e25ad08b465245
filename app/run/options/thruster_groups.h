// Thruster-group types by the names a person uses for them.
#pragma once

#include <string>

#include "host/host_types.h"

namespace app {

// "main", "pitch-up", "translate-down", ... or the type number 0-14.
// Throws std::invalid_argument naming the accepted names.
THGROUP_TYPE parse_group(const std::string& name);
std::string group_name(THGROUP_TYPE type);
std::string group_names_help();

}  // namespace app
