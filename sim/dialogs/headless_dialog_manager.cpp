// The dialog manager where there is no window system: the host builds each
// dialog from the template in the module's .res file and keeps its windows
// as records, with handles of its own making.
#include "dialogs/dialog_layout.h"
#include "dialogs/platform_dialog_manager.h"
#include "faults/module_faults.h"
#include "sim/module_resources.h"

namespace sim {

namespace {

class HeadlessDialogManager final : public DialogManager {
public:
    HeadlessDialogManager(ModuleOf module_of, ModuleFaults& faults)
        : DialogManager(faults), module_of_(std::move(module_of))
    {
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
        const Module* module = module_of_(instance);
        if (!module || resid < 0 || resid > 0xFFFF) return std::nullopt;
        std::string problem;
        const std::vector<std::uint8_t> bytes =
            module_resource(*module, resource_type_dialog, static_cast<std::uint16_t>(resid), &problem);
        if (!problem.empty())
            module_faults().warn({"oapiOpenDialog", std::to_string(resid), "", "the module's resources are unusable: " + problem});
        if (bytes.empty()) return std::nullopt;
        return dialog_from_template(bytes.data(), bytes.size(), resid, module->path(), module_faults());
    }

protected:
    void close_window(HWND hwnd) override
    {
        Dialog* d = record(hwnd);
        if (!d) return;
        if (d->proc) call_procedure(d->proc, hwnd, WM_DESTROY, 0, 0);
        forget(hwnd);
    }

    INT_PTR send_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) override
    {
        // Controls have no procedure of their own here.
        Dialog* d = record(hwnd);
        if (!d || !d->proc) return 0;
        return call_procedure(d->proc, hwnd, msg, wparam, lparam);
    }

    // Messages reach the procedure as they are sent: none wait in a queue.
    void pump_messages() override {}

    HWND create(Dialog& d) override
    {
        d.hwnd = new_handle();
        for (Control& c : d.controls) c.hwnd = new_handle();
        const HWND hwnd = d.hwnd;
        if (d.proc) call_procedure(d.proc, hwnd, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(d.context));
        return hwnd;
    }

    void bring_forward(const Dialog&) override {}

private:
    HWND new_handle() { return reinterpret_cast<HWND>(++last_handle_); }

    ModuleOf module_of_;
    std::uintptr_t last_handle_ = 0x1000;
};

}  // namespace

std::unique_ptr<DialogManager> make_dialog_manager(ModuleOf module_of, ModuleFaults& faults)
{
    return std::make_unique<HeadlessDialogManager>(std::move(module_of), faults);
}

}  // namespace sim
