// The native fixture, run on Windows: Mervex.dll loaded through LoadLibrary
// as the host executable loads it, with the control dialog at hand. The
// module is the build's own, or the one the environment's MERVEX_MODULE
// names: the add-on in the Microsoft C++ ABI, which a copy of this program
// runs under the name that build imports from.
#pragma once

#include <cstdlib>

#include "support/module_fixture.h"
#include "host/oapi.h"

class WinModuleTest : public ModuleTest {
protected:
    const char* ModulePath() const override
    {
        const char* other = std::getenv("MERVEX_MODULE");
        return other && *other ? other : ModuleTest::ModulePath();
    }
    HWND Dialog() const { return oapiFindDialog(module->instance(), 108); }
};
