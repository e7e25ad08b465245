// The dialog functions of the host interface, served by the host's dialog
// manager on every platform.
#include "host/oapi.h"
#include "interface/host_call.h"
#include "core/host_internals.h"

using sim::Call;
using sim::Serve;

namespace {
// The dialog manager, when the module's instance is a loaded module.
sim::DialogManager* ForModule(const Call& call, HINSTANCE instance)
{
    sim::Host* h = call.host();
    if (!h) return nullptr;
    if (!h->module_of(instance)) {
        call.fault("the instance handle is not a loaded module's");
        return nullptr;
    }
    return &h->dialogs();
}

// The dialog manager, when `hwnd` is an open dialog.
sim::DialogManager* ForDialog(const Call& call, HWND hwnd)
{
    sim::Host* h = call.host();
    if (!h) return nullptr;
    if (!h->dialogs().is_open(hwnd)) {
        call.fault("no open dialog has this handle");
        return nullptr;
    }
    return &h->dialogs();
}
}  // namespace

HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context) noexcept
{
    return Serve("oapiOpenDialogEx", {hInst, resid, reinterpret_cast<const void*>(proc), flags, context}, HWND(nullptr),
                 [&](const Call& call) -> HWND {
                     sim::DialogManager* dialogs = ForModule(call, hInst);
                     return dialogs ? dialogs->open(hInst, resid, proc, flags, context) : nullptr;
                 });
}

HWND oapiFindDialog(HINSTANCE hInst, int resid) noexcept
{
    return Serve("oapiFindDialog", {hInst, resid}, HWND(nullptr), [&](const Call& call) -> HWND {
        sim::DialogManager* dialogs = ForModule(call, hInst);
        return dialogs ? dialogs->find(hInst, resid) : nullptr;
    });
}

void oapiCloseDialog(HWND hDlg) noexcept
{
    Serve("oapiCloseDialog", {hDlg}, [&](const Call& call) {
        if (sim::DialogManager* dialogs = ForDialog(call, hDlg)) dialogs->close(hDlg);
    });
}

void* oapiGetDialogContext(HWND hDlg) noexcept
{
    // Not logged: a dialog procedure asks for it on every command.
    const Call call("oapiGetDialogContext", nullptr, {hDlg});
    try {
        sim::DialogManager* dialogs = ForDialog(call, hDlg);
        return dialogs ? dialogs->context(hDlg) : nullptr;
    } catch (...) {
        call.host_failed();
    }
    return nullptr;
}

// What the dialog manager does with a message no procedure handled.
INT_PTR oapiDefDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    return Serve("oapiDefDialogProc", {hDlg, msg, double(wParam), reinterpret_cast<const void*>(lParam)}, INT_PTR(0),
                 [&](const Call& call) -> INT_PTR {
                     if (!ForDialog(call, hDlg)) return 0;
                     return sim::HostInternals::faults(sim::Host::current()).default_dialog_answer;
                 });
}
