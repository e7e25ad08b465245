// The Windows window calls a module makes on its dialogs, where the host's
// dialog manager stands in for the window system.
#include "host/win_compat.h"
#include "sim/host.h"

namespace {
sim::DialogManager& Dialogs() { return sim::Host::current().dialogs(); }
}

HWND GetDlgItem(HWND dialog, int id) { return Dialogs().item(dialog, id); }

BOOL EnableWindow(HWND window, BOOL enable)
{
    sim::log_call(nullptr, "EnableWindow", {double(enable)});
    return Dialogs().enable(window, enable != FALSE);
}

BOOL IsWindowEnabled(HWND window) { return Dialogs().enabled(window); }
