// The dialog functions of the host interface, served by the host's dialog
// manager on every platform.
#include "host/oapi.h"
#include "sim/host.h"

namespace {
sim::DialogManager& Dialogs() { return sim::Host::current().dialogs(); }
}

HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context)
{
    sim::log_call(nullptr, "oapiOpenDialogEx", {double(resid), double(flags)});
    return Dialogs().open(hInst, resid, proc, flags, context);
}

HWND oapiFindDialog(HINSTANCE hInst, int resid)
{
    sim::log_call(nullptr, "oapiFindDialog", {double(resid)});
    return Dialogs().find(hInst, resid);
}

void oapiCloseDialog(HWND hDlg)
{
    sim::log_call(nullptr, "oapiCloseDialog");
    Dialogs().close(hDlg);
}

void* oapiGetDialogContext(HWND hDlg) { return Dialogs().context(hDlg); }

// What the dialog manager does with a message no procedure handled.
INT_PTR oapiDefDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    sim::log_call(nullptr, "oapiDefDialogProc", {double(msg), double(wParam)});
    return sim::Host::current().faults().default_dialog_answer;
}
