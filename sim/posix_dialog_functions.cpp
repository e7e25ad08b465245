// The dialog functions of the host interface, and the Windows window calls a
// module makes on its dialogs, served by the stand-in host's dialog manager.
#if !defined(_WIN32)
#include <dlfcn.h>
#include <link.h>

#include <cstring>

#include "host.h"
#include "oapi.h"

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

namespace {
struct Search {
    std::uintptr_t base;
    const char* path = nullptr;
};
}  // namespace

// As on Windows: only the module's own exports, not those of its dependencies.
FARPROC GetProcAddress(HMODULE module, LPCSTR name)
{
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
#endif
