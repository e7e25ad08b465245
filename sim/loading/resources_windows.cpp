// Resources from inside a module's DLL, where the resource compiler put them.
#include <windows.h>

#include "sim/module_resources.h"

namespace sim {

std::string module_resource_file(const std::string&) { return {}; }

// Resources inside the DLL are the loader's to read: nothing here to report.
std::vector<std::uint8_t> module_resource(const Module& module, std::uint16_t type, std::uint16_t id,
                                          std::string* problem)
{
    if (problem) problem->clear();
    HMODULE dll = static_cast<HMODULE>(module.instance());
    HRSRC found = FindResourceA(dll, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    HGLOBAL loaded = found ? LoadResource(dll, found) : nullptr;
    const auto* bytes = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    return std::vector<std::uint8_t>(bytes, bytes + SizeofResource(dll, found));
}

}  // namespace sim
