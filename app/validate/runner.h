// Runs each check in a process of its own, so that a module that crashes or
// hangs fails that check and the others still run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check.h"

namespace validate {

struct Outcome {
    const Check* check = nullptr;
    std::uint64_t seed = 0;
    bool passed = false;
    std::vector<std::string> failures, notes;
    double seconds = 0;  // wall time
};

Outcome run_isolated(const Check& check, const CheckContext& context, unsigned timeout_seconds);

}  // namespace validate
