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
    int trial = 0;  // for checks made of numbered trials: only this one; 0 for all
};

// The randomness of trial `trial` of a check: each trial's own, so that one
// can be run alone.
inline std::uint64_t trial_seed(std::uint64_t seed, int trial)
{
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(trial);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Whether a check runs trial `n` of this context.
inline bool runs_trial(const CheckContext& ctx, int n) { return ctx.trial == 0 || ctx.trial == n; }

// What a check saw: failures decide its outcome, warnings (what is
// suspicious but can be meant) decide it from warn_fail_level on, notes only
// inform.
struct Findings {
    std::vector<std::string> failures;
    std::vector<std::string> warnings;
    std::vector<std::string> notes;

    void fail(std::string what) { failures.push_back(std::move(what)); }
    void warn(std::string what) { warnings.push_back(std::move(what)); }
    void note(std::string what) { notes.push_back(std::move(what)); }
    bool passed() const { return failures.empty(); }
};

struct Check {
    const char* name;
    int min_level;       // runs at this level and above
    const char* summary; // one line for --help and the reports
    void (*run)(const CheckContext&, Findings&);
    // For a check made of numbered trials: how many it runs at a level.
    int (*trials)(int level) = nullptr;
};

// From this level on a warning fails its check.
constexpr int warn_fail_level = 8;

// Tells the validator what the check does next, before it does it, so that a
// crash or a hang is named by it. `detail`, when given, is the whole input
// (a scenario block, say), kept in a file beside the reports if the check
// fails. Does nothing outside a check's process.
// `trial`, when not 0, is the number --trial takes to run it alone.
void doing(const std::string& what, const std::string& detail = "", int trial = 0);

// Every check, in the order they run.
const std::vector<Check>& all_checks();

}  // namespace validate
