// The dialog manager where there is no window system: the host builds each
// dialog from the template in the module's .res file and keeps its windows
// as records, with handles of its own making.
#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

#include "dialogs/dialog_layout.h"
#include "dialogs/platform_dialog_manager.h"
#include "resfmt/resource_file.h"
#include "sim/host.h"

namespace sim {

namespace {

class HeadlessDialogManager final : public DialogManager {
public:
    explicit HeadlessDialogManager(const Host& host) : host_(host) {}

    void close(HWND hwnd) override
    {
        Dialog* d = record(hwnd);
        if (!d) return;
        if (d->proc) d->proc(hwnd, WM_DESTROY, 0, 0);
        forget(hwnd);
    }

    INT_PTR send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) override
    {
        // Controls have no procedure of their own here.
        Dialog* d = record(hwnd);
        if (!d || !d->proc) return 0;
        return d->proc(hwnd, msg, wparam, lparam);
    }

    bool enabled(HWND control) const override
    {
        const Control* c = control_record(control);
        return c && c->enabled;
    }

    bool enable(HWND control, bool on) override
    {
        Control* c = control_record(control);
        if (!c) return false;
        const bool was_disabled = !c->enabled;
        c->enabled = on;
        return was_disabled;
    }

    std::optional<Dialog> module_template(HINSTANCE instance, int resid) const override
    {
        const Module* module = host_.module_of(instance);
        if (!module || resid < 0 || resid > 0xFFFF) return std::nullopt;
        // A module's resources sit beside it: the module's path with ".res" for its suffix.
        const std::string path = std::filesystem::path(module->path()).replace_extension(".res").string();
        const resfmt::ResourceEntry* entry =
            resfmt::find_resource(resources_at(path), resfmt::rt_dialog, static_cast<std::uint16_t>(resid));
        if (!entry) return std::nullopt;
        return dialog_from_template(entry->data.data(), entry->data.size(),
                                    "dialog " + std::to_string(resid) + " in " + path);
    }

    // Messages reach the procedure as they are sent: none wait in a queue.
    void process_messages() override {}

protected:
    HWND create(Dialog& d) override
    {
        d.hwnd = new_handle();
        for (Control& c : d.controls) c.hwnd = new_handle();
        const HWND hwnd = d.hwnd;
        if (d.proc) d.proc(hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(d.context));
        return hwnd;
    }

    void bring_forward(const Dialog&) override {}

private:
    struct CachedResources {
        std::filesystem::file_time_type stamp;
        std::vector<resfmt::ResourceEntry> entries;
    };

    HWND new_handle() { return reinterpret_cast<HWND>(++last_handle_); }

    // The parsed .res file at `path`, read again when the file changes. A
    // file that cannot be read or parsed is reported once per change and
    // gives no resources.
    const std::vector<resfmt::ResourceEntry>& resources_at(const std::string& path) const
    {
        static const std::vector<resfmt::ResourceEntry> none;
        std::error_code ec;
        const auto stamp = std::filesystem::last_write_time(path, ec);
        if (ec) {
            resources_.erase(path);
            return none;
        }
        auto it = resources_.find(path);
        if (it != resources_.end() && it->second.stamp == stamp) return it->second.entries;
        CachedResources fresh{stamp, {}};
        try {
            fresh.entries = resfmt::read_resource_file(path);
        } catch (const std::exception& e) {
            std::cerr << "simhost: resources of the module unusable: " << e.what() << "\n";
        }
        return resources_.insert_or_assign(path, std::move(fresh)).first->second.entries;
    }

    const Host& host_;
    std::uintptr_t last_handle_ = 0x1000;
    mutable std::map<std::string, CachedResources> resources_;  // by path
};

}  // namespace

std::unique_ptr<DialogManager> make_dialog_manager(const Host& host)
{
    return std::make_unique<HeadlessDialogManager>(host);
}

}  // namespace sim
