// What module code runs at this moment, for a program that names the cause
// of a crash from its signal handler: plain memory, written as the host
// enters and leaves module code, read with no lock and no allocation.
#pragma once

namespace sim {

struct ModuleActivity {
    const char* callback = nullptr;   // the innermost callback the host made, or null
    const char* host_call = nullptr;  // the host function that callback is in, or null
    char craft[64] = {};              // the name of the callback's craft, cut short; empty for none
};

// This process's record, kept by the thread that runs a host.
const ModuleActivity& module_activity() noexcept;

}  // namespace sim
