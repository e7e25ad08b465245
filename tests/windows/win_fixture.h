// The native fixture, run on Windows: Mervex.dll loaded through LoadLibrary
// as the host executable loads it, with the control dialog at hand.
#pragma once

#include "support/module_fixture.h"
#include "host/oapi.h"

class WinModuleTest : public ModuleTest {
protected:
    HWND Dialog() const { return oapiFindDialog(module->instance(), 108); }
};
