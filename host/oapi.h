// Free functions of the host interface. None of them throws: a call the
// host cannot honour (a number that is not finite among them) is noted as
// the module's fault and answered harmlessly.
//
// When a module may call what:
// - While the library loads (its attach step, InitModule) and while it
//   unloads (its detach step, the exit hook it exports as ExitModule or
//   opcDLLExit), no craft of it exists: only InitLib, Date2Int and
//   oapiGetSimStep may be called then. No dialog of the module may be open
//   by then: its procedure would be code that is gone.
// - Everything else is called from a callback of one of the module's craft,
//   on the host's thread. A module starts no thread that calls the host.
// - The destructor a module runs from ovcExit must close any dialog whose
//   context is that craft: once ovcExit returns, the craft's handles and
//   the object are gone, and the dialog would reach through them.
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
//
// The protocol, as the module's procedure `proc` sees it:
// - oapiOpenDialogEx builds the dialog from the module's resource `resid`
//   and, before it returns, calls `proc` with WM_INITDIALOG and `context`
//   as lParam. oapiGetDialogContext gives `context` from then on.
// - A second oapiOpenDialogEx of an open dialog brings it forward: no
//   second window, no WM_INITDIALOG; the first procedure and context stay.
// - A click on a button comes as WM_COMMAND with the button's id
//   (LOWORD(wParam)) and BN_CLICKED. The window's close box comes as
//   WM_COMMAND with IDCANCEL, with or without a button of that id; the
//   dialog stays open until the procedure calls oapiCloseDialog.
// - oapiCloseDialog calls `proc` with WM_DESTROY before it returns, then the
//   dialog's handles are gone; the procedure may call it itself.
// - A message the procedure does not handle goes to oapiDefDialogProc, and
//   the procedure returns what that answered.
// - The procedure runs on the host's thread only, inside these calls or
//   between the host's steps; what it throws is the module's fault.
// - A dialog whose context is a craft is closed by the module before the
//   craft goes (in its destructor). One left open then is the module's
//   fault; the host closes it without calling `proc` again.
HOSTAPI HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context) noexcept;
HOSTAPI HWND oapiFindDialog(HINSTANCE hInst, int resid) noexcept;
HOSTAPI void oapiCloseDialog(HWND hDlg) noexcept;
HOSTAPI void* oapiGetDialogContext(HWND hDlg) noexcept;
HOSTAPI INT_PTR oapiDefDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
