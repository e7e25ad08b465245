// The command line of simhost-run.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "options/timeline.h"

namespace app {

struct Options {
    bool help = false;
    std::string scenario;
    std::string modules;      // folder of modules, one per class
    std::string module;       // one module to load first; empty for none
    std::string meshes;
    double duration = 20;
    std::vector<double> steps{0.1};  // repeated in turn
    double warp = 1;
    std::vector<Action> actions;  // in the order given; sorted by the run
    std::vector<std::string> timelines;  // the files the actions came from
    double max_steps = 10'000'000;  // a run that would take more is refused
    std::string out_dir = "simhost-out";
    std::string save;          // empty: OUT/final.scn
    std::string json;
    double json_every = -1;    // 0: every step; below 0: a thousandth of the duration
    bool pictures = true;
    bool quiet = false;
    bool save_on_stop = true;  // a run stopped early still saves its last state
    bool serve = false;        // fly live for a page in the browser
    unsigned short port = 0;   // where the page's server listens; 0: any free port
};

// Throws UsageError (bad option or value, a run of more than max_steps
// steps) or TimelineError (bad action or timeline file). `defaults`
// supplies modules and meshes.
Options parse_options(const std::vector<std::string>& args, const Options& defaults);

std::string help_text(const Options& defaults);

}  // namespace app
