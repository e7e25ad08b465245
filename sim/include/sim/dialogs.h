// The host's dialog manager: the dialogs modules open through the host
// interface, known by (instance, resource id), at most one of each open.
// Each platform has its own: on Windows the system's dialog manager builds
// real windows; elsewhere the host builds them from the module's .res file
// beside it, with handles that are never reused, so a stale one reaches
// nothing. Both keep the same record of every open dialog, laid out as the
// module's template says, which is what telemetry and pictures read.
//
// Every message goes to a module's procedure through the module faults the
// manager is given; each method below that sends one then reports the faults
// left, as the Host's methods do (host.h). When a module's own call led here
// (oapiCloseDialog), the report waits for the host.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/win_compat.h"
#include "sim/module_fault.h"

namespace sim {

class ModuleFaults;

struct Control {
    int id = 0;
    WORD class_atom = 0;     // 0x80 button, 0x82 static, ...
    std::string text;        // or, for a resource number, "#107"
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool enabled = true;
    HWND hwnd = nullptr;     // null in a template that is not open
};

// A push button, check box or radio button: the button class, not a group box.
bool is_button(const Control& control);

struct Dialog {
    HINSTANCE instance = nullptr;
    int resid = 0;
    // The module's; the module stays loaded while its dialogs are open. Null
    // once the craft that is its context is gone: no message reaches it then.
    DLGPROC proc = nullptr;
    DWORD flags = 0;
    void* context = nullptr;  // the opener's, kept unread until the dialog closes
    std::string opened_in;    // the callback that opened it and its craft ("clbkKeyPress of Tug-2"), if any
    HWND hwnd = nullptr;
    std::string caption;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::vector<Control> controls;  // in the template's order
    int raised = 0;  // times brought forward by a second opening
    bool closing = false;  // its procedure has WM_DESTROY under way; it is closed once
};

class DialogManager {
public:
    virtual ~DialogManager() = default;
    DialogManager(const DialogManager&) = delete;
    DialogManager& operator=(const DialogManager&) = delete;

    // Builds the module's dialog `resid`; its procedure gets WM_INITDIALOG
    // with `context`. An open one is brought forward instead and keeps its
    // first procedure and context. Null when no window could be made.
    HWND open(HINSTANCE instance, int resid, DLGPROC proc, DWORD flags, void* context);
    HWND find(HINSTANCE instance, int resid) const;
    // The procedure gets WM_DESTROY, then the dialog and its controls are gone.
    // Closing a dialog whose WM_DESTROY is under way does nothing more.
    void close(HWND dialog);
    // Most recent first; the host does this before modules go away. Faults stay pending.
    void close_all();
    // Closes the dialogs whose context is one of `contexts`, a craft that is
    // gone, without a message to their procedures, which would reach it.
    // Returns what they were.
    std::vector<Dialog> close_unheard(const std::vector<const void*>& contexts);

    // The open dialog's record, its controls' enabled state read afresh;
    // null for any other window. Valid until the dialog closes.
    const Dialog* dialog(HWND dialog);
    void* context(HWND dialog) const;
    // Every open dialog, oldest first, read afresh as dialog() reads one.
    std::vector<const Dialog*> open_dialogs();

    // A message to an open dialog or one of its controls; 0 for any other window.
    INT_PTR send(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    // What a click on a button does: WM_COMMAND with its id and BN_CLICKED.
    // IDCANCEL is the close box, there with or without a control of that
    // id. False when the dialog is gone or the button missing or disabled.
    bool click(HWND dialog, int id);
    // The id of the button a click names in an open dialog, from the
    // template's data: a control id in decimal ("1003"); a button's caption,
    // in any case, without its '&' marks and surrounding blanks ("deploy");
    // or "close", the close box (IDCANCEL). -1 when there is none.
    int button_id(HWND dialog, const std::string& name) const;
    // The first control `id` of an open dialog, or null.
    HWND item(HWND dialog, int id) const;
    bool is_open(HWND dialog) const { return record(dialog) != nullptr; }
    // Whether `window` is a control of an open dialog.
    bool is_control(HWND window) const { return control_record(window) != nullptr; }
    virtual bool enabled(HWND control) const = 0;
    // Returns whether the control was disabled before; false for a window not ours.
    virtual bool enable(HWND control, bool enable) = 0;

    // The module's dialog `resid` as its template lays it out, not opened;
    // nothing when the module has no such template or it cannot be read.
    virtual std::optional<Dialog> module_template(HINSTANCE instance, int resid) const = 0;
    // Hands queued window messages to the open dialogs (keys, the close box).
    void process_messages();

protected:
    // `faults` outlives the manager.
    explicit DialogManager(ModuleFaults& faults) : faults_(faults) {}
    // The platform's parts of close, send and process_messages.
    virtual void close_window(HWND dialog) = 0;
    virtual INT_PTR send_message(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) = 0;
    virtual void pump_messages() = 0;
    // Calls a module's dialog procedure; what it throws becomes a module fault and the answer 0.
    INT_PTR call_procedure(DLGPROC proc, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    // Makes the window of `dialog`, already among the open ones, and sends
    // WM_INITDIALOG. Returns its handle, or null when it could not be made.
    // The record may be gone on return: the procedure may close the dialog.
    virtual HWND create(Dialog& dialog) = 0;
    virtual void bring_forward(const Dialog& dialog) = 0;
    // Drops the record of `dialog`; null drops one whose window was never made.
    void forget(HWND dialog);
    Dialog* record(HWND dialog) const;
    const std::vector<std::unique_ptr<Dialog>>& records() const { return dialogs_; }
    Control* control_record(HWND control) const;
    // Where a platform's part notes what it meets in a module's templates.
    ModuleFaults& module_faults() const { return faults_; }

private:
    ModuleFaults& faults_;
    std::vector<std::unique_ptr<Dialog>> dialogs_;
};

}  // namespace sim
