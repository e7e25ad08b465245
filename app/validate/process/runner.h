// Runs each check in a process group of its own, so that a module that
// crashes, hangs, ends the process or leaves helpers running fails that check
// and the others still run. The parent alone keeps the time limit and
// decides whether a report is the check's own.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "check.h"

namespace validate {

struct Outcome {
    const Check* check = nullptr;
    std::uint64_t seed = 0;
    bool passed = false;
    std::vector<std::string> failures, warnings, notes;
    std::string action;  // the last thing the check said it was doing
    std::string detail;  // that action's whole input, when it gave one
    int trial = 0;       // that action's trial, when it is one
    std::string site;    // where a crash was: the callback, the host call, the thread
    double seconds = 0;  // wall time
};

// Passes only when the check's process exits normally after sending its
// whole report, whose end carries a value made for this run alone; ending
// early, by a signal, or with anything written past the end, or not within
// `timeout_seconds`, fails it naming the last action. Every process it
// started, in whatever group or session, is ended afterwards (see reaper.h);
// one still running fails the check.
Outcome run_isolated(const Check& check, const CheckContext& context, double timeout_seconds);

// Runs the check in this process, turning what it throws into a failure;
// for a debugger, and for the process run_isolated starts.
void run_here(const Check& check, const CheckContext& context, Findings& findings);

// What in_fresh_process throws when the process ended before its work did.
struct ProcessEnded : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs `work` in a process of its own (in the caller's group) and returns
// what it returns; throws ProcessEnded naming how it ended when it did not
// finish (for a crash, the callback, host call or thread it was in), and
// std::runtime_error with the message of what `work` threw. For checks that compare runs in fresh
// processes. With `fill` not 0, the heap blocks that process allocates start filled with that byte.
std::string in_fresh_process(const std::function<std::string()>& work, unsigned char fill = 0);

}  // namespace validate
