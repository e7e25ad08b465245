// Modules as the dynamic linker loads them: the instance handle is the
// library's load address, as a Windows module handle is.
#include "sim/module.h"

#include <dlfcn.h>

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
    if (!dladdr(reinterpret_cast<void*>(init_module_), &info))
        throw LoadError(path_ + ": cannot find the module's load address");
    return static_cast<HINSTANCE>(info.dli_fbase);
}

void* Module::symbol(const char* name) const { return dlsym(library_, name); }

}  // namespace sim
