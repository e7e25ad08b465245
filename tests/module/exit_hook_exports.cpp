// Exit functions for test builds of the module, which record their call.
#include "sim/host.h"

namespace {
void Record(const char* name, HINSTANCE h)
{
    sim::Host* host = sim::Host::current_or_null();
    if (host && host->log().enabled())
        host->log().add(sim::HostCall{name, sim::Craft{}, {double(reinterpret_cast<std::uintptr_t>(h))}, {}});
}
}  // namespace

#if defined(WITH_EXIT_MODULE)
DLLCLBK void ExitModule(HINSTANCE h) { Record("ExitModule", h); }
#endif
DLLCLBK void opcDLLExit(HINSTANCE h) { Record("opcDLLExit", h); }
