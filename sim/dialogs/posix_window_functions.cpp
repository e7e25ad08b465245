// The Windows window calls a module makes on its dialogs, where the host's
// dialog manager stands in for the window system.
#include "host/win_compat.h"
#include "interface/host_call.h"
#include "sim/host.h"

using sim::Call;
using sim::Serve;

namespace {
// The dialog manager when `window` is a control of an open dialog. A null
// window (what GetDlgItem gives for a control a dialog lacks) is none, without fault.
sim::DialogManager* ForControl(const Call& call, HWND window)
{
    sim::Host* h = call.host();
    if (!h || !window) return nullptr;
    if (!h->dialogs().is_control(window)) {
        call.fault("no control of an open dialog has this handle");
        return nullptr;
    }
    return &h->dialogs();
}
}  // namespace

HWND GetDlgItem(HWND dialog, int id) noexcept
{
    // Not logged, as on Windows nothing changes.
    const Call call("GetDlgItem", nullptr, {dialog, id});
    try {
        sim::Host* h = call.host();
        if (!h) return nullptr;
        if (!h->dialogs().is_open(dialog)) {
            call.fault("no open dialog has this handle");
            return nullptr;
        }
        return h->dialogs().item(dialog, id);
    } catch (...) {
        call.host_failed();
    }
    return nullptr;
}

BOOL EnableWindow(HWND window, BOOL enable) noexcept
{
    return Serve("EnableWindow", {window, enable}, BOOL(FALSE), [&](const Call& call) -> BOOL {
        sim::DialogManager* dialogs = ForControl(call, window);
        return dialogs && dialogs->enable(window, enable != FALSE);
    });
}

BOOL IsWindowEnabled(HWND window) noexcept
{
    const Call call("IsWindowEnabled", nullptr, {window});
    sim::DialogManager* dialogs = ForControl(call, window);
    return dialogs && dialogs->enabled(window);
}
