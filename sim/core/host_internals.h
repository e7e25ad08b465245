// The host's parts that only the library itself and tests that reach its
// internals (linked with simhost_testing) use: the craft records behind the
// Craft handles, and the faults a test can make the host answer with.
#pragma once

#include "faults/module_faults.h"
#include "record/vessel_record.h"
#include "sim/host.h"

namespace sim {

struct Faults {
    bool date2int_returns_zero = false;
    // Index (from 0, per vessel) of the AddAnimationComponent call to answer null; -1 for none.
    int null_animation_component = -1;
    // What the default dialog procedure answers, so a test can see whether
    // a module passes that answer on.
    INT_PTR default_dialog_answer = 0;
};

struct HostInternals {
    static Faults& faults(Host& host) { return *host.faults_; }
    static ModuleFaults& module_faults(Host& host) { return *host.module_faults_; }
    static const Host::ScenarioHandles& scenario_handles(const Host& host) { return host.scenario_handles_; }
    static const std::vector<std::unique_ptr<VesselRecord>>& records(const Host& host) { return host.vessels_; }
    // The record behind a craft the host holds.
    static VesselRecord& record(Craft craft) { return const_cast<VesselRecord&>(*craft.record()); }
};

}  // namespace sim
