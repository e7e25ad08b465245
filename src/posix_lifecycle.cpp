// Where the loader sends no attach/detach notifications, run the library's
// entry routine from its constructor and destructor instead. The instance
// handle is the library's load address, as it is on Windows.
#if !defined(_WIN32)
#include <dlfcn.h>

#include "win_compat.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved);

namespace {
const char anchor = 0;

HINSTANCE OwnInstance()
{
    Dl_info info{};
    if (!dladdr(&anchor, &info)) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

__attribute__((constructor)) void LibraryAttach()
{
    DllMain(OwnInstance(), DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void LibraryDetach()
{
    DllMain(OwnInstance(), DLL_PROCESS_DETACH, nullptr);
}
}  // namespace
#endif
