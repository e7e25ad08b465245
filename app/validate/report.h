// The results of a run as the reports hold them: JSON and JUnit XML.
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "runner.h"

namespace validate {

std::string json_report(const Options& options, const std::vector<Outcome>& outcomes);
std::string junit_report(const Options& options, const std::vector<Outcome>& outcomes);

// Writes `text` to path.tmp, then renames it over `path`: a reader sees the
// old file or the whole new one. Throws std::runtime_error naming the file.
void write_file_atomically(const std::string& path, const std::string& text);

}  // namespace validate
