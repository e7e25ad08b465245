// Numbers in messages, file names and a module's scenario values: the
// shortest text that reads back as the same double, so no two values look
// alike and none is cut.
#pragma once

#include <string>

namespace sim {

std::string number_text(double value);

}  // namespace sim
