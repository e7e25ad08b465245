// Resources from the compiled .res file beside a module.
#include <filesystem>
#include <map>
#include <system_error>

#include "resfmt/resource_file.h"
#include "util/input_file.h"
#include "sim/module_resources.h"

namespace sim {

namespace {
using resfmt::ResourceEntry;

// Parsed .res files by path, read again when the file changes. A file that
// cannot be read or parsed sets *problem once per change and gives no
// resources; it is read as any input is (a regular file of bounded size), so
// a FIFO or a device there neither hangs nor floods the host.
const std::vector<ResourceEntry>& resources_at(const std::string& path, std::string* problem)
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
        const std::string bytes = read_input_file(path);
        fresh.entries = resfmt::parse_resource_file(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), path);
    } catch (const std::exception& e) {
        if (problem) *problem = e.what();
    }
    return cache.insert_or_assign(path, std::move(fresh)).first->second.entries;
}
}  // namespace

std::string module_resource_file(const std::string& module_path)
{
    return std::filesystem::path(module_path).replace_extension(".res").string();
}

std::vector<std::uint8_t> module_resource(const Module& module, std::uint16_t type, std::uint16_t id,
                                          std::string* problem)
{
    if (problem) problem->clear();
    const std::string path = module_resource_file(module.path());
    const ResourceEntry* entry = resfmt::find_resource(resources_at(path, problem), type, id);
    return entry ? entry->data : std::vector<std::uint8_t>{};
}

}  // namespace sim
