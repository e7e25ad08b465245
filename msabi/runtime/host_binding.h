// Binding of the host interface to the program that loads the DLL.
#pragma once

#include <windows.h>

// Resolves every function the DLL delay-imports through the exports of the
// process's main module, by name, and writes each address into its import
// slot. Returns false, with no slot changed, when any one is missing, or
// when an import is by ordinal (a host's interface is exported by name).
bool BindHostInterface(HINSTANCE self);
