// Free functions of the host interface.
#pragma once

#include "host_types.h"

// Called by a module's attach step with its own instance handle.
HOSTAPI void InitLib(HINSTANCE hModule);
// "Mmm dd yyyy" to a number that grows with the date; 0 for text it cannot read.
HOSTAPI int Date2Int(const char* date);

// Length of the current simulation step in seconds.
HOSTAPI double oapiGetSimStep();

// Yields the next line of the vessel's block in `line`, false at the block's
// end. The text belongs to the host and is valid until the next call.
HOSTAPI bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line);
// Each writes one line of key and value; both texts are copied.
HOSTAPI void oapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value);
HOSTAPI void oapiWriteScenario_float(FILEHANDLE scn, const char* item, double value);

// Dialogs are known by (instance, resource id); at most one of each is open.
// `context` is kept, unread, until the dialog closes. An open dialog is
// brought forward rather than opened twice.
HOSTAPI HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context);
HOSTAPI HWND oapiFindDialog(HINSTANCE hInst, int resid);
HOSTAPI void oapiCloseDialog(HWND hDlg);
HOSTAPI void* oapiGetDialogContext(HWND hDlg);
HOSTAPI INT_PTR oapiDefDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
