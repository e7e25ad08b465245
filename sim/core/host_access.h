// What the library's own door for modules (interface/) reaches of the
// running host beyond its public face: its module faults, the scenario
// block handed to the callback in progress, the craft records behind the
// Craft handles, and the faults a test can make the host answer with. Tests
// that reach inside (linked with simhost_testing) use the same. Exactly one
// Host runs at a time; what these give lives as long as it.
#pragma once

#include "faults/module_faults.h"
#include "record/vessel_record.h"
#include "sim/host.h"

namespace sim {

class ScenarioBlock;
struct ParseStatus;

// What tests make the host answer.
struct Faults {
    bool date2int_returns_zero = false;
    // Index (from 0, per vessel) of the AddAnimationComponent call to answer null; -1 for none.
    int null_animation_component = -1;
    // What the default dialog procedure answers, so a test can see whether
    // a module passes that answer on.
    INT_PTR default_dialog_answer = 0;
};

// The scenario block and parse status handed to the callback in progress;
// a module may use no other. Null outside those callbacks.
struct ScenarioHandles {
    ScenarioBlock* read = nullptr;
    ParseStatus* status = nullptr;
    ScenarioBlock* write = nullptr;
};

namespace host_access {

// Each gives null while no host runs.
ModuleFaults* module_faults() noexcept;
const ScenarioHandles* scenario_handles() noexcept;
Faults* test_faults() noexcept;

// The record behind a craft the host holds.
inline VesselRecord& record(Craft craft) noexcept { return const_cast<VesselRecord&>(*craft.record()); }

}  // namespace host_access

}  // namespace sim
