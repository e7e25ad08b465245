// The Windows names of the host interface (host/win_compat.h), which
// elsewhere the host serves itself: the window calls a module makes on its
// dialogs, where the host's dialog manager stands in for the window system,
// and the look-up of a module's own exports. On Windows the system serves
// them, so this file is built only elsewhere.
#include "host/win_compat.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>

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

namespace {
struct Search {
    std::uintptr_t base;
    const char* path = nullptr;
};
}  // namespace

// As on Windows: only the module's own exports, not those of its dependencies.
FARPROC GetProcAddress(HMODULE module, LPCSTR name) noexcept
{
    if (!name) {
        sim::Call("GetProcAddress", nullptr, {module, name}).fault("the name is null");
        return nullptr;
    }
    Search s{reinterpret_cast<std::uintptr_t>(module)};
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            auto* search = static_cast<Search*>(data);
            if (info->dlpi_addr != search->base) return 0;
            search->path = info->dlpi_name;
            return 1;
        },
        &s);
    if (!s.path || !*s.path) return nullptr;
    void* lib = dlopen(s.path, RTLD_LAZY | RTLD_NOLOAD);
    if (!lib) return nullptr;
    void* sym = dlsym(lib, name);
    dlclose(lib);
    Dl_info info{};
    if (!sym || !dladdr(sym, &info) || info.dli_fbase != static_cast<void*>(module)) return nullptr;
    return reinterpret_cast<FARPROC>(sym);
}
