// The stand-in host's dialog manager for platforms without Windows. Dialogs
// are known by (instance, resource id); at most one of each is open. Window
// handles are never reused, so a stale handle reaches nothing.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/win_compat.h"

namespace sim {

struct Control {
    int id = 0;
    WORD class_atom = 0;     // 0x80 button, 0x82 static, ...
    std::string text;        // or, for a resource number, "#107"
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool enabled = true;
    HWND hwnd = nullptr;
};

struct Dialog {
    HINSTANCE instance = nullptr;
    int resid = 0;
    DLGPROC proc = nullptr;
    DWORD flags = 0;
    void* context = nullptr;  // the opener's, kept unread until the dialog closes
    HWND hwnd = nullptr;
    std::string caption;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::vector<Control> controls;
    int raised = 0;  // times brought forward by a second opening
};

class DialogManager {
public:
    // Builds the dialog from the module's template when it has one, sends
    // WM_INITDIALOG; an open one is brought forward instead.
    HWND open(HINSTANCE instance, int resid, DLGPROC proc, DWORD flags, void* context);
    HWND find(HINSTANCE instance, int resid) const;
    // Sends WM_DESTROY, then forgets the dialog and its controls.
    void close(HWND hwnd);
    void close_all();

    Dialog* dialog(HWND hwnd);
    Control* control(HWND hwnd);
    HWND item(HWND dialog, int id);

    // What a click on a button does: WM_COMMAND with its id and BN_CLICKED.
    // False when the window is gone or the button disabled.
    bool click(HWND dialog, int id);
    INT_PTR send(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

    const std::vector<std::unique_ptr<Dialog>>& open_dialogs() const { return dialogs_; }

private:
    HWND new_handle() { return reinterpret_cast<HWND>(++last_handle_); }

    std::vector<std::unique_ptr<Dialog>> dialogs_;
    std::uintptr_t last_handle_ = 0x1000;
};

}  // namespace sim
