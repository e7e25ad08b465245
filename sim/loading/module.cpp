#include "sim/module.h"

namespace sim {

namespace {
template <typename Fn>
void Bind(const Module& m, Fn& fn, const char* name)
{
    void* p = m.symbol(name);
    if (!p) throw LoadError(m.path() + ": the module does not export " + name);
    fn = reinterpret_cast<Fn>(p);
}
}  // namespace

std::string explicit_path(const std::string& path)
{
#if defined(_WIN32)
    const bool bare = path.find_first_of("/\\:") == std::string::npos;
    return bare && !path.empty() ? ".\\" + path : path;
#else
    const bool bare = path.find('/') == std::string::npos;
    return bare && !path.empty() ? "./" + path : path;
#endif
}

Module::Module(const std::string& path) : path_(explicit_path(path)), library_(open_library(path_))
{
    try {
        Bind(*this, init_module_, "InitModule");
        Bind(*this, ovc_init_, "ovcInit");
        Bind(*this, ovc_exit_, "ovcExit");
        // A module need not tell its date or version; the host asks only when it can.
        module_date_ = reinterpret_cast<decltype(module_date_)>(symbol("ModuleDate"));
        module_version_ = reinterpret_cast<decltype(module_version_)>(symbol("GetModuleVersion"));
        instance_ = find_instance();
    } catch (...) {
        close_library(library_);
        throw;
    }
}

Module::~Module() { close_library(library_); }

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
