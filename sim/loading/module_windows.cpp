// Modules as Windows loads them: the library handle is the instance handle.
#include "sim/module.h"

#include <windows.h>

namespace sim {

namespace {
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
}  // namespace

void* Module::open_library(const std::string& path)
{
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) throw LoadError(path + ": " + LastErrorText());
    return h;
}

void Module::close_library(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

HINSTANCE Module::find_instance() const { return static_cast<HINSTANCE>(library_); }

void* Module::symbol(const char* name) const
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library_), name));
}

}  // namespace sim
