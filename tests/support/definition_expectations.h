// What one class definition of Mervex must leave in the host's record. Shared
// by the native tests and those run under Wine, so both check the same thing.
#pragma once

#include "sim/craft.h"

// Adds a gtest failure for every value of the craft that differs.
void ExpectMervexDefinition(const sim::Craft& r);
