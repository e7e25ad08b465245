// The dialog manager on Windows: the system builds each dialog from the
// module's own resource with the module's instance handle, as a real
// modeless window. The host's procedure sits in front of the module's, so
// the host knows the window and its context from the very first message on.
#include "dialogs/dialog_layout.h"
#include "dialogs/platform_dialog_manager.h"
#include "sim/host.h"

namespace sim {

namespace {

// The window property naming the manager that owns a dialog window.
constexpr const char* owner_property = "simhost.dialogs";

class Win32DialogManager;

// The dialog whose window is being made, and its manager.
struct Creating {
    Win32DialogManager* owner = nullptr;
    Dialog* dialog = nullptr;
};

class Win32DialogManager final : public DialogManager {
public:
    explicit Win32DialogManager(ModuleFaults& faults) : DialogManager(faults) {}
    ~Win32DialogManager() override { close_all(); }

    bool enabled(HWND control) const override { return control_record(control) && IsWindowEnabled(control); }

    bool enable(HWND control, bool on) override { return control_record(control) && EnableWindow(control, on); }

    std::optional<Dialog> module_template(HINSTANCE instance, int resid) const override
    {
        if (resid < 0 || resid > 0xFFFF) return std::nullopt;
        HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resid), MAKEINTRESOURCEA(5));  // RT_DIALOG
        HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes) return std::nullopt;
        return dialog_from_template(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, found), resid,
                                    "the module", module_faults());
    }

protected:
    // The window's last message drops the record.
    void close_window(HWND hwnd) override
    {
        if (record(hwnd)) DestroyWindow(hwnd);
    }

    INT_PTR send_message(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) override
    {
        if (!record(window) && !control_record(window)) return 0;
        return SendMessageA(window, msg, wparam, lparam);
    }

    void pump_messages() override
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Keys for a dialog go through the dialog manager, as in a modeless dialog's message loop.
            bool handled = false;
            for (std::size_t i = 0; !handled && i < records().size(); ++i)
                handled = IsDialogMessageA(records()[i]->hwnd, &msg);
            if (handled) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND create(Dialog& d) override
    {
        // Until the window's first message names it, Route finds the record here.
        creating_ = {this, &d};
        const HWND hwnd = CreateDialogParamA(d.instance, MAKEINTRESOURCEA(d.resid), nullptr, Route, 0);
        creating_ = {};
        return hwnd;
    }

    void bring_forward(const Dialog& d) override { BringWindowToTop(d.hwnd); }

private:
    static INT_PTR CALLBACK Route(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
    {
        auto* self = static_cast<Win32DialogManager*>(GetPropA(hwnd, owner_property));
        if (!self && creating_.owner) {
            self = creating_.owner;
            creating_.dialog->hwnd = hwnd;
            SetPropA(hwnd, owner_property, self);
            creating_ = {};
        }
        Dialog* d = self ? self->record(hwnd) : nullptr;
        if (!d) return FALSE;
        if (msg == WM_INITDIALOG) {
            // The controls exist now, made in the template's order.
            HWND child = GetWindow(hwnd, GW_CHILD);
            for (Control& c : d->controls) {
                c.hwnd = child;
                if (child) child = GetWindow(child, GW_HWNDNEXT);
            }
            // The module's procedure gets its context, as if it had opened the dialog itself.
            lparam = reinterpret_cast<LPARAM>(d->context);
        }
        // Nothing the module's procedure throws may unwind through the system's frames.
        const DLGPROC proc = d->proc;
        const INT_PTR result = proc ? self->call_procedure(proc, hwnd, msg, wparam, lparam) : FALSE;
        if (msg == WM_NCDESTROY) {
            RemovePropA(hwnd, owner_property);
            self->forget(hwnd);
        }
        return result;
    }

    static inline Creating creating_;
};

}  // namespace

std::unique_ptr<DialogManager> make_dialog_manager(ModuleOf, ModuleFaults& faults)
{
    return std::make_unique<Win32DialogManager>(faults);
}

}  // namespace sim
