// Exit functions for test builds of the module, which record their call.
#include "sim/host.h"

namespace {
void Record(const char* name, HINSTANCE h)
{
    sim::log_call(nullptr, name, {double(reinterpret_cast<std::uintptr_t>(h))});
}
}  // namespace

#if defined(WITH_EXIT_MODULE)
DLLCLBK void ExitModule(HINSTANCE h) { Record("ExitModule", h); }
#endif
DLLCLBK void opcDLLExit(HINSTANCE h) { Record("opcDLLExit", h); }
