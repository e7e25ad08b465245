// The DLL's entry point where no vendor runtime provides one: binds the
// host interface, then runs the static initialisers before the library's
// own attach routine, and the functions registered with atexit after its
// detach routine, so that a library unloaded before the process ends has
// torn down what it built.
#include <cstdlib>
#include <windows.h>

#include "host_binding.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved);

namespace {
typedef void(__cdecl* Initialiser)();

// The compiler puts the address of each translation unit's initialiser in
// .CRT$XCU; the linker orders the .CRT$XC* sections by name, so these two
// bracket them all.
#pragma section(".CRT$XCA", read)
#pragma section(".CRT$XCZ", read)
__declspec(allocate(".CRT$XCA")) const Initialiser first_initialiser = nullptr;
__declspec(allocate(".CRT$XCZ")) const Initialiser last_initialiser = nullptr;

// Room for the destructors of the library's static objects; a full list
// refuses more, as atexit may.
const int exit_list_size = 64;
void(__cdecl* exit_list[exit_list_size])();
int exit_count = 0;

void RunInitialisers()
{
    for (const Initialiser* i = &first_initialiser + 1; i < &last_initialiser; ++i)
        if (*i) (*i)();
}

void RunExitList()
{
    while (exit_count > 0) exit_list[--exit_count]();
}
}  // namespace

extern "C" int __cdecl atexit(void(__cdecl* fn)())
{
    if (!fn || exit_count == exit_list_size) return -1;
    exit_list[exit_count++] = fn;
    return 0;
}

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        // A host that lacks any function the module calls gets a clean
        // refusal from LoadLibrary, before any of the module's code has run,
        // rather than a crash in some later callback.
        if (!BindHostInterface(hinst)) return FALSE;
        RunInitialisers();
        const BOOL ok = DllMain(hinst, reason, reserved);
        // A refused attach is followed by no detach: tear down now.
        if (!ok) RunExitList();
        return ok;
    }
    const BOOL ok = DllMain(hinst, reason, reserved);
    if (reason == DLL_PROCESS_DETACH) RunExitList();
    return ok;
}
