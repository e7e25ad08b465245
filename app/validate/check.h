// One named check of a vessel module: what it needs to run, what it found.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace validate {

// What every check is given. Strictness and amounts grow with `level`; all
// randomness comes from `seed`, so a run is repeated by giving it again.
struct CheckContext {
    std::string module;  // path of the module under test
    int level = 1;       // 1 to 10
    std::uint64_t seed = 0;
};

// What a check saw: failures decide its outcome, notes only inform.
struct Findings {
    std::vector<std::string> failures;
    std::vector<std::string> notes;

    void fail(std::string what) { failures.push_back(std::move(what)); }
    void note(std::string what) { notes.push_back(std::move(what)); }
    bool passed() const { return failures.empty(); }
};

struct Check {
    const char* name;
    int min_level;       // runs at this level and above
    const char* summary; // one line for --help and the reports
    void (*run)(const CheckContext&, Findings&);
};

// Every check, in the order they run.
const std::vector<Check>& all_checks();

}  // namespace validate
