// The validator as the reaper of whatever its checks start: a process a
// module starts is handed to the validator when its parent ends, whatever
// process group or session it moved to, so that none outlives its check.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace validate {

// Makes this process the one that orphans of its descendants are handed
// to. Without it (outside Linux) only the check's process group is ended.
void become_reaper();

// Ends every process this one started that is still there, and every
// process those started, waiting for each until `deadline`. Returns each
// one that was still running, as "pid 123 (sleep)".
std::vector<std::string> end_descendants(std::chrono::steady_clock::time_point deadline);

}  // namespace validate
