// The results of a run as the reports hold them: JSON and JUnit XML.
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "process/runner.h"

namespace validate {

std::string json_report(const Options& options, const std::vector<Outcome>& outcomes);
std::string junit_report(const Options& options, const std::vector<Outcome>& outcomes);

}  // namespace validate
