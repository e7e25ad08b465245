#include "module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace sim {

namespace {
#if defined(_WIN32)
std::string LastErrorText()
{
    char buf[512] = {};
    DWORD err = GetLastError();
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, err, 0, buf, sizeof buf,
                   nullptr);
    std::string text = buf;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return "error " + std::to_string(err) + (text.empty() ? "" : ": " + text);
}
#endif

template <typename Fn>
void Bind(const Module& m, Fn& fn, const char* name)
{
    void* p = m.symbol(name);
    if (!p) throw LoadError(m.path() + ": the module does not export " + name);
    fn = reinterpret_cast<Fn>(p);
}
}  // namespace

Module::Module(const std::string& path) : path_(path)
{
#if defined(_WIN32)
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) throw LoadError(path + ": " + LastErrorText());
    library_ = h;
    instance_ = h;
#else
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) throw LoadError(dlerror());
#endif
    try {
        Bind(*this, InitModule, "InitModule");
        Bind(*this, ovcInit, "ovcInit");
        Bind(*this, ovcExit, "ovcExit");
        Bind(*this, ModuleDate, "ModuleDate");
        Bind(*this, GetModuleVersion, "GetModuleVersion");
#if !defined(_WIN32)
        Dl_info info{};
        if (!dladdr(reinterpret_cast<void*>(InitModule), &info))
            throw LoadError(path + ": cannot find the module's load address");
        instance_ = static_cast<HINSTANCE>(info.dli_fbase);
#endif
    } catch (...) {
#if defined(_WIN32)
        FreeLibrary(static_cast<HMODULE>(library_));
#else
        dlclose(library_);
#endif
        throw;
    }
}

Module::~Module()
{
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(library_));
#else
    dlclose(library_);
#endif
}

void* Module::symbol(const char* name) const
{
#if defined(_WIN32)
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library_), name));
#else
    return dlsym(library_, name);
#endif
}

std::string Module::class_name() const
{
    std::string name = path_;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace sim
