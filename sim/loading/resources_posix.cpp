// Resources from the compiled .res file beside a module.
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "resfmt/resource_file.h"
#include "sim/module_resources.h"

namespace sim {

namespace {
using resfmt::ResourceEntry;

// Parsed .res files by path, read again when the file changes. A file that
// cannot be read or parsed is reported once per change and gives no resources.
const std::vector<ResourceEntry>& resources_at(const std::string& path)
{
    struct Cached {
        std::filesystem::file_time_type stamp;
        std::vector<ResourceEntry> entries;
    };
    static std::map<std::string, Cached> cache;
    static const std::vector<ResourceEntry> none;

    std::error_code ec;
    const auto stamp = std::filesystem::last_write_time(path, ec);
    if (ec) {
        cache.erase(path);
        return none;
    }
    auto it = cache.find(path);
    if (it != cache.end() && it->second.stamp == stamp) return it->second.entries;
    Cached fresh{stamp, {}};
    try {
        fresh.entries = resfmt::read_resource_file(path);
    } catch (const std::exception& e) {
        std::cerr << "simhost: resources of the module unusable: " << e.what() << "\n";
    }
    return cache.insert_or_assign(path, std::move(fresh)).first->second.entries;
}
}  // namespace

std::vector<std::uint8_t> module_resource(const Module& module, std::uint16_t type, std::uint16_t id)
{
    const std::string path = std::filesystem::path(module.path()).replace_extension(".res").string();
    const ResourceEntry* entry = resfmt::find_resource(resources_at(path), type, id);
    return entry ? entry->data : std::vector<std::uint8_t>{};
}

}  // namespace sim
