#include "sim/dialogs.h"

#include <algorithm>

#include "dialogs/dialog_loader.h"

namespace sim {

HWND DialogManager::open(HINSTANCE instance, int resid, DLGPROC proc, DWORD flags, void* context)
{
    if (HWND open = find(instance, resid)) {
        ++dialog(open)->raised;
        return open;
    }
    auto d = std::make_unique<Dialog>();
    d->instance = instance;
    d->resid = resid;
    d->proc = proc;
    d->flags = flags;
    d->context = context;
    d->hwnd = new_handle();
    load_dialog_template(*d);
    for (Control& c : d->controls) c.hwnd = new_handle();
    dialogs_.push_back(std::move(d));
    Dialog& opened = *dialogs_.back();
    if (opened.proc) opened.proc(opened.hwnd, WM_INITDIALOG, 0, 0);
    return opened.hwnd;
}

HWND DialogManager::find(HINSTANCE instance, int resid) const
{
    for (const auto& d : dialogs_)
        if (d->instance == instance && d->resid == resid) return d->hwnd;
    return nullptr;
}

void DialogManager::close(HWND hwnd)
{
    Dialog* d = dialog(hwnd);
    if (!d) return;
    if (d->proc) d->proc(hwnd, WM_DESTROY, 0, 0);
    dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                  [&](const std::unique_ptr<Dialog>& p) { return p->hwnd == hwnd; }),
                   dialogs_.end());
}

void DialogManager::close_all()
{
    while (!dialogs_.empty()) close(dialogs_.back()->hwnd);
}

Dialog* DialogManager::dialog(HWND hwnd)
{
    for (const auto& d : dialogs_)
        if (d->hwnd == hwnd) return d.get();
    return nullptr;
}

Control* DialogManager::control(HWND hwnd)
{
    for (const auto& d : dialogs_)
        for (Control& c : d->controls)
            if (c.hwnd == hwnd) return &c;
    return nullptr;
}

HWND DialogManager::item(HWND hwnd, int id)
{
    Dialog* d = dialog(hwnd);
    if (!d) return nullptr;
    for (Control& c : d->controls)
        if (c.id == id) return c.hwnd;
    return nullptr;
}

bool DialogManager::click(HWND hwnd, int id)
{
    Dialog* d = dialog(hwnd);
    if (!d) return false;
    if (id != IDCANCEL) {
        Control* c = control(item(hwnd, id));
        if (!c || !c->enabled) return false;
    }
    const WPARAM bn_clicked = 0;
    send(hwnd, WM_COMMAND, (bn_clicked << 16) | static_cast<WORD>(id), 0);
    return true;
}

INT_PTR DialogManager::send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    Dialog* d = dialog(hwnd);
    if (!d || !d->proc) return 0;
    return d->proc(hwnd, msg, wparam, lparam);
}

}  // namespace sim
