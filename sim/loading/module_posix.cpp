// Modules as the dynamic linker loads them: the instance handle is the
// library's load address, as a Windows module handle is.
#include "sim/module.h"

#include "interface/host_call.h"

#include <dlfcn.h>
#include <link.h>

#include <cstdint>

namespace sim {

void* Module::open_library(const std::string& path)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) throw LoadError(dlerror());
    return library;
}

void Module::close_library(void* library) { dlclose(library); }

HINSTANCE Module::find_instance() const
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(InitModule), &info))
        throw LoadError(path_ + ": cannot find the module's load address");
    return static_cast<HINSTANCE>(info.dli_fbase);
}

void* Module::symbol(const char* name) const { return dlsym(library_, name); }

}  // namespace sim

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
