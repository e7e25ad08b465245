// The library's exports and its attach/detach routine.
#include <new>

#include "Mervex.h"
#include "module_globals.h"
#include "oapi.h"

HINSTANCE module_instance = nullptr;
ExitHook exit_hook = nullptr;
int module_version = 0;

namespace {
ExitHook FindExitHook(HINSTANCE hinst)
{
    FARPROC proc = GetProcAddress(hinst, "ExitModule");
    if (!proc) proc = GetProcAddress(hinst, "opcDLLExit");
    // Through the generic function type, as the loader hands out every export.
    return reinterpret_cast<ExitHook>(reinterpret_cast<void (*)()>(proc));
}
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        InitLib(hinst);
        exit_hook = FindExitHook(hinst);
        break;
    case DLL_PROCESS_DETACH:
        if (exit_hook) exit_hook(hinst);
        break;
    default:
        break;
    }
    return TRUE;
}

DLLCLBK void InitModule(HINSTANCE hModule)
{
    module_instance = hModule;
}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel)
{
    Mervex* vessel = new (std::nothrow) Mervex(hVessel, flightmodel);
    return vessel;
}

DLLCLBK void ovcExit(VESSEL* vessel)
{
    if (vessel) delete static_cast<Mervex*>(vessel);
}

DLLCLBK const char* ModuleDate()
{
    static const char build_date[] = MERVEX_BUILD_DATE;
    return build_date;
}

DLLCLBK int GetModuleVersion()
{
    if (module_version == 0) module_version = Date2Int("Aug 30 2010");
    return module_version;
}
