// The entry points of a loaded module, which Module's public face hides so
// that a program calls module code only through the Host. For the Host and
// for tests linked with simhost_testing; calling one bypasses the Host's
// fault handling, so the caller provides its own.
#pragma once

#include "sim/module.h"

namespace sim {

struct ModuleEntryPoints {
    static auto init_module(const Module& m) { return m.init_module_; }
    static auto ovc_init(const Module& m) { return m.ovc_init_; }
    static auto ovc_exit(const Module& m) { return m.ovc_exit_; }
    static auto module_date(const Module& m) { return m.module_date_; }        // null when not exported
    static auto module_version(const Module& m) { return m.module_version_; }  // null when not exported
};

}  // namespace sim
