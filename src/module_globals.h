// Values the whole module shares; every craft's own state lives in its Mervex.
#pragma once

#include "win_compat.h"

typedef void (*ExitHook)(HINSTANCE);

extern HINSTANCE module_instance;  // set by InitModule; names the module's dialogs
extern ExitHook exit_hook;         // an exit function the library exports, if any
extern int module_version;         // 0 until GetModuleVersion gets a date from the host

INT_PTR CALLBACK ControlDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
