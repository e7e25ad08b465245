// What most checks start from: a host of their own, the module loaded in it,
// what a probe of its keys found, and the check's randomness from its seed.
#pragma once

#include "check.h"
#include "driver.h"
#include "random.h"
#include "sim/host.h"

namespace validate {

struct Session {
    // With CallLogging::on, makes sure the log is kept.
    explicit Session(const CheckContext& ctx, sim::CallLogging logging = sim::CallLogging::off);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads the module, then probes its keys unless told not to. A failure
    // of either is noted in `f`; the check then has nothing to go on.
    bool open(Findings& f, bool probing = true);
    // A driver of the module's craft; it holds on to this session.
    Driver driver() { return Driver(host, *module, probe, random); }

    const CheckContext& ctx;
    sim::Host host;
    sim::Module* module = nullptr;  // the host's; set by open()
    ModuleProbe probe;
    Random random;
};

}  // namespace validate
