// What the solar-array animation must look like in the host, and
// what a deployment in 7 s steps hands the host. Shared by the native tests
// and those run under Wine, so both check the same values.
#pragma once

#include "sim/host.h"

// The six hinges: two chains of three, their reference points, angles and ranges.
void ExpectMervexArrayHinges(const sim::Craft& r);
// Presses K on a stowed craft and runs six 7 s steps: the host sees the
// states 0.65, 0.3 and -0.05 (as 32-bit values) and nothing after, the
// craft saves ARRAYS 0, and the wings stand at their deployed pose.
void ExpectSevenSecondDeployment(sim::Host& host, sim::Craft r);
