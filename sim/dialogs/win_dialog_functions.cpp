// The dialog functions of the host interface on Windows. The system builds
// each dialog from the module's resource with the module's instance handle;
// the host's own procedure sits in front of the module's, so the host knows
// the window and its context from the very first message on.
#include <algorithm>
#include <memory>
#include <vector>

#include "host/oapi.h"
#include "sim/host.h"
#include "sim/win_dialogs.h"

namespace {
struct OpenDialog {
    HINSTANCE instance = nullptr;
    int resid = 0;
    DLGPROC proc = nullptr;   // the module's; the module stays loaded while its dialogs are open
    void* context = nullptr;  // the opener's, kept unread
    HWND hwnd = nullptr;
};

// Every open dialog, owned here from its opening until its window's last message.
std::vector<std::unique_ptr<OpenDialog>>& Dialogs()
{
    static std::vector<std::unique_ptr<OpenDialog>> dialogs;
    return dialogs;
}

// The dialog whose window is being created; its messages come before
// CreateDialogParam returns the handle.
OpenDialog* creating = nullptr;

OpenDialog* ByWindow(HWND hwnd)
{
    for (const auto& d : Dialogs())
        if (d->hwnd == hwnd) return d.get();
    return nullptr;
}

OpenDialog* ByResource(HINSTANCE instance, int resid)
{
    for (const auto& d : Dialogs())
        if (d->instance == instance && d->resid == resid && d->hwnd) return d.get();
    return nullptr;
}

void Forget(const OpenDialog* dialog)
{
    auto& all = Dialogs();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const std::unique_ptr<OpenDialog>& d) { return d.get() == dialog; }),
              all.end());
}

INT_PTR CALLBACK Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OpenDialog* d = ByWindow(hwnd);
    if (!d && creating && (!creating->hwnd || creating->hwnd == hwnd)) {
        d = creating;
        d->hwnd = hwnd;
    }
    if (!d) return FALSE;
    // The module's procedure gets its context with WM_INITDIALOG, as if it
    // had opened the dialog itself.
    if (msg == WM_INITDIALOG) lParam = reinterpret_cast<LPARAM>(d->context);
    const INT_PTR result = d->proc ? d->proc(hwnd, msg, wParam, lParam) : FALSE;
    if (msg == WM_NCDESTROY) Forget(d);
    return result;
}
}  // namespace

HWND oapiOpenDialogEx(HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context)
{
    sim::log_call(nullptr, "oapiOpenDialogEx", {double(resid), double(flags)});
    if (OpenDialog* open = ByResource(hInst, resid)) {
        BringWindowToTop(open->hwnd);
        return open->hwnd;
    }
    auto d = std::make_unique<OpenDialog>();
    d->instance = hInst;
    d->resid = resid;
    d->proc = proc;
    d->context = context;
    // Joins the open dialogs only once its window exists; until then Route
    // reaches it through `creating`.
    creating = d.get();
    HWND hwnd = CreateDialogParamA(hInst, MAKEINTRESOURCEA(resid), nullptr, Route, 0);
    creating = nullptr;
    if (!hwnd) return nullptr;
    d->hwnd = hwnd;
    Dialogs().push_back(std::move(d));
    return hwnd;
}

HWND oapiFindDialog(HINSTANCE hInst, int resid)
{
    sim::log_call(nullptr, "oapiFindDialog", {double(resid)});
    OpenDialog* d = ByResource(hInst, resid);
    return d ? d->hwnd : nullptr;
}

void oapiCloseDialog(HWND hDlg)
{
    sim::log_call(nullptr, "oapiCloseDialog");
    if (ByWindow(hDlg)) DestroyWindow(hDlg);
}

void* oapiGetDialogContext(HWND hDlg)
{
    OpenDialog* d = ByWindow(hDlg);
    return d ? d->context : nullptr;
}

// What the dialog manager does with a message no procedure handled.
INT_PTR oapiDefDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    sim::log_call(nullptr, "oapiDefDialogProc", {double(msg), double(wParam)});
    return sim::Host::current().faults().default_dialog_answer;
}

namespace sim::win {

void pump_messages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool handled = false;
        for (const auto& d : Dialogs())
            if (!handled && d->hwnd && IsDialogMessageA(d->hwnd, &msg)) handled = true;
        if (handled) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void close_all_dialogs()
{
    while (!Dialogs().empty()) {
        OpenDialog* last = Dialogs().back().get();
        // The window's last message forgets it; one that is gone already is forgotten here.
        if (!last->hwnd || !DestroyWindow(last->hwnd)) Forget(last);
    }
}

std::size_t open_dialog_count() { return Dialogs().size(); }

}  // namespace sim::win
