// The command line of simhost-validate.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace validate {

using app::UsageError;

struct Options {
    bool help = false;
    std::string module;
    int level = 5;
    bool seed_given = false;
    std::uint64_t seed = 0;
    std::string json, junit;          // report files; empty for none
    std::vector<std::string> checks;  // only these; empty for all of the level
    int trial = 0;                    // only this trial of each check; 0 for all
    double timeout = 0;               // seconds a check may take; 0 for default_timeout(level)
    int repeat = 1;                   // runs of the whole table, each with a fresh seed
    bool in_process = false;          // the one check chosen runs in the validator's own process
};

// A few seconds a check, more at higher levels and in a build with the sanitizers.
double default_timeout(int level);

Options parse_options(const std::vector<std::string>& args);
std::string help_text();

}  // namespace validate
