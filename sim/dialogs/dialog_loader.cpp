#include "dialogs/dialog_loader.h"

#include <cctype>
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "resfmt/dialog_template.h"
#include "resfmt/resource_file.h"
#include "sim/host.h"

namespace sim {

namespace {

using resfmt::DialogItemTemplate;
using resfmt::DialogTemplate;
using resfmt::NameOrId;
using resfmt::ResourceEntry;

constexpr DWORD ws_disabled = 0x08000000;

// Windows gives the predefined classes their numbers whether a template names them or numbers them.
WORD class_atom(const NameOrId& window_class)
{
    if (window_class.is_id) return window_class.id;
    static const std::pair<const char*, WORD> predefined[] = {
        {"button", 0x80}, {"edit", 0x81}, {"static", 0x82}, {"listbox", 0x83}, {"scrollbar", 0x84}, {"combobox", 0x85},
    };
    std::string lower;
    for (char ch : window_class.name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (const auto& [name, atom] : predefined)
        if (lower == name) return atom;
    return 0;
}

// A module's resources sit beside it: the module's path with ".res" for its suffix.
std::string resource_path(const Module& module)
{
    return std::filesystem::path(module.path()).replace_extension(".res").string();
}

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

void load_dialog_template(Dialog& dialog)
{
    Host* host = Host::current_or_null();
    const Module* module = host ? host->module_of(dialog.instance) : nullptr;
    if (!module || dialog.resid < 0 || dialog.resid > 0xFFFF) return;
    const std::string path = resource_path(*module);
    const ResourceEntry* entry =
        resfmt::find_resource(resources_at(path), resfmt::rt_dialog, static_cast<std::uint16_t>(dialog.resid));
    if (!entry) return;

    DialogTemplate t;
    try {
        t = resfmt::parse_dialog_template(entry->data.data(), entry->data.size());
    } catch (const std::exception& e) {
        std::cerr << "simhost: dialog " << dialog.resid << " in " << path << ": " << e.what() << "\n";
        return;
    }
    dialog.caption = t.caption;
    dialog.style = t.style;
    dialog.cx = t.cx;
    dialog.cy = t.cy;
    dialog.controls.clear();
    for (const DialogItemTemplate& item : t.items) {
        Control c;
        c.id = item.id;
        c.class_atom = class_atom(item.window_class);
        c.text = item.text.str();
        c.style = item.style;
        c.x = item.x;
        c.y = item.y;
        c.cx = item.cx;
        c.cy = item.cy;
        c.enabled = !(item.style & ws_disabled);
        dialog.controls.push_back(std::move(c));
    }
}

}  // namespace sim
