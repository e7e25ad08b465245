// Numbers as a person types them on the command line and in timelines:
// plain decimals such as 5, 0.25, .5 or 1e6, nothing else. strtod alone
// also takes blanks, hexadecimal, "inf" and "nan".
#pragma once

#include <string>

namespace app {

// False for anything but a plain decimal that a double holds (no sign, no
// blanks, no overflow).
bool parse_decimal(const std::string& text, double& out);

}  // namespace app
