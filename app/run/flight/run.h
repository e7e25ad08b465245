// One run of the stand-in host as the command line asks for it.
#pragma once

#include <string>
#include <vector>

#include "options/options.h"
#include "telemetry/sample.h"

namespace app {

struct CraftReport {
    std::string name, class_name;
    CraftSample last;
    std::vector<std::string> module_lines;  // the craft's own lines of the final save
};

struct RunReport {
    double seconds = 0;  // simulated
    long steps = 0;
    std::vector<CraftReport> craft;
    std::vector<DialogSample> dialogs;  // open at the end
    std::vector<std::string> saved, pictures, notes;
    // Why the run ended before its duration (a stop signal, a state that
    // stopped being finite); empty when it did not.
    std::string stopped;
    int stop_signal = 0;  // the signal that stopped it, if one did
};

// Throws std::exception with a one-line reason for any bad input (module,
// scenario, timeline, output paths) or an output that could not be written;
// the reason then says which outputs were written and which were not.
RunReport run(const Options& options);

}  // namespace app
