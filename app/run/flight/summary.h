// The end-of-run summary a person reads.
#pragma once

#include <string>

#include "flight/run.h"

namespace app {

std::string summary_text(const RunReport& report);

}  // namespace app
