// Free functions of the host interface. None of them throws: a call the
// host cannot honour is noted as the module's fault and answered harmlessly.
#pragma once

#include "host_types.h"

// Called by a module's attach step with its own instance handle.
HOSTAPI void InitLib(HINSTANCE hModule) noexcept;
// "Mmm dd yyyy" to a number that grows with the date; 0 for text it cannot read.
HOSTAPI int Date2Int(const char* date) noexcept;

// Length of the current simulation step in seconds.
HOSTAPI double oapiGetSimStep() noexcept;

// Yields the next line of the vessel's block in `line`, false at the block's
// end. The text belongs to the host and is valid until the next call.
HOSTAPI bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line) noexcept;
// Each writes one line of key and value; both texts are copied. A float is
// written with the fewest digits that read back as the same double ("0.1",
// "123.4567891234", "1e-30"; a whole number below 1e15 written out, "500"),
// so a value saved and loaded again is the value the module had.
HOSTAPI void oapiWriteScenario_string(FILEHANDLE scn, const char* item, const char* value) noexcept;
HOSTAPI void oapiWriteScenario_float(FILEHANDLE scn, const char* item, double value) noexcept;

// Dialogs are known by (instance, resource id); at most one of each is open.
// `context` is kept, unread, until the dialog closes. An open dialog is
// brought forward rather than opened twice.
HOSTAPI HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context) noexcept;
HOSTAPI HWND oapiFindDialog(HINSTANCE hInst, int resid) noexcept;
HOSTAPI void oapiCloseDialog(HWND hDlg) noexcept;
HOSTAPI void* oapiGetDialogContext(HWND hDlg) noexcept;
HOSTAPI INT_PTR oapiDefDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
