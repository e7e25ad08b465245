// The dialog functions of the host interface, and the Windows window calls a
// module makes on its dialogs, served by the stand-in host's dialog manager.
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

void* oapiGetDialogContext(HWND hDlg)
{
    sim::Dialog* d = Dialogs().dialog(hDlg);
    return d ? d->context : nullptr;
}

INT_PTR oapiDefDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    sim::log_call(nullptr, "oapiDefDialogProc", {double(msg), double(wParam)});
    return sim::Host::current().faults().default_dialog_answer;
}

HWND GetDlgItem(HWND dialog, int id) { return Dialogs().item(dialog, id); }

BOOL EnableWindow(HWND window, BOOL enable)
{
    sim::log_call(nullptr, "EnableWindow", {double(enable)});
    sim::Control* c = Dialogs().control(window);
    if (!c) return FALSE;
    const BOOL was_disabled = !c->enabled;
    c->enabled = enable != FALSE;
    return was_disabled;
}

BOOL IsWindowEnabled(HWND window)
{
    sim::Control* c = Dialogs().control(window);
    return c && c->enabled;
}
