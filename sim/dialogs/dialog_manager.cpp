#include "sim/dialogs.h"

#include <algorithm>
#include <cctype>

#include "faults/module_faults.h"

namespace sim {

namespace {
// A caption as a person would type it: without '&' marks ("&&" is a real
// '&'), surrounding blanks, or case.
std::string Plain(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i])));
    }
    const size_t first = out.find_first_not_of(' '), last = out.find_last_not_of(' ');
    return first == std::string::npos ? "" : out.substr(first, last - first + 1);
}
}  // namespace

bool is_button(const Control& control)
{
    constexpr WORD button_class = 0x80;
    constexpr DWORD type_mask = 0x0F, groupbox = 0x07;
    return control.class_atom == button_class && (control.style & type_mask) != groupbox;
}

HWND DialogManager::open(HINSTANCE instance, int resid, DLGPROC proc, DWORD flags, void* context)
{
    if (Dialog* d = record(find(instance, resid))) {
        ++d->raised;
        bring_forward(*d);
        return d->hwnd;
    }
    auto d = std::make_unique<Dialog>(module_template(instance, resid).value_or(Dialog{}));
    d->instance = instance;
    d->resid = resid;
    d->proc = proc;
    d->flags = flags;
    d->context = context;
    const ModuleActivity& now = module_activity();
    if (now.callback) d->opened_in = std::string(now.callback) + (now.craft[0] ? std::string(" of ") + now.craft : "");
    dialogs_.push_back(std::move(d));
    const HWND hwnd = create(*dialogs_.back());
    if (!hwnd) forget(nullptr);
    faults_.report();
    return hwnd && record(hwnd) ? hwnd : nullptr;
}

HWND DialogManager::find(HINSTANCE instance, int resid) const
{
    for (const auto& d : dialogs_)
        if (d->instance == instance && d->resid == resid && d->hwnd && !d->closing) return d->hwnd;
    return nullptr;
}

void DialogManager::close(HWND hwnd)
{
    // A procedure may close its dialog again from WM_DESTROY.
    if (Dialog* d = record(hwnd); d && !d->closing) {
        d->closing = true;
        close_window(hwnd);
    }
    faults_.report();
}

INT_PTR DialogManager::send(HWND window, UINT msg, WPARAM wparam, LPARAM lparam)
{
    const INT_PTR result = send_message(window, msg, wparam, lparam);
    faults_.report();
    return result;
}

void DialogManager::process_messages()
{
    pump_messages();
    faults_.report();
}

INT_PTR DialogManager::call_procedure(DLGPROC proc, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam)
{
    return faults_.call_module("dialog procedure", nullptr, INT_PTR(0), [&] { return proc(hwnd, msg, wparam, lparam); });
}

void DialogManager::close_all()
{
    while (!dialogs_.empty()) {
        const HWND last = dialogs_.back()->hwnd;
        dialogs_.back()->closing = true;
        close_window(last);
        // A window that would not go still leaves the host's hands.
        forget(last);
    }
}

std::vector<Dialog> DialogManager::close_unheard(const std::vector<const void*>& contexts)
{
    std::vector<Dialog> out;
    for (const auto& d : dialogs_)
        if (std::find(contexts.begin(), contexts.end(), d->context) != contexts.end()) out.push_back(*d);
    // As close_all does, the faults left for the host to report.
    for (const Dialog& gone : out) {
        Dialog* d = record(gone.hwnd);
        if (!d || d->closing) continue;
        d->proc = nullptr;
        d->closing = true;
        close_window(gone.hwnd);
    }
    return out;
}

const Dialog* DialogManager::dialog(HWND hwnd)
{
    Dialog* d = record(hwnd);
    if (d)
        for (Control& c : d->controls) c.enabled = enabled(c.hwnd);
    return d;
}

void* DialogManager::context(HWND hwnd) const
{
    const Dialog* d = record(hwnd);
    return d ? d->context : nullptr;
}

std::vector<const Dialog*> DialogManager::open_dialogs()
{
    std::vector<const Dialog*> out;
    for (const auto& d : dialogs_) out.push_back(dialog(d->hwnd));
    return out;
}

bool DialogManager::click(HWND hwnd, int id)
{
    if (!record(hwnd)) return false;
    const HWND button = item(hwnd, id);
    if (id != IDCANCEL && (!button || !enabled(button))) return false;
    const WPARAM bn_clicked = 0;
    send(hwnd, WM_COMMAND, (bn_clicked << 16) | static_cast<WORD>(id), reinterpret_cast<LPARAM>(button));
    return true;
}

int DialogManager::button_id(HWND hwnd, const std::string& name) const
{
    const Dialog* d = record(hwnd);
    if (!d) return -1;
    if (!name.empty() && name.size() <= 5 && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int id = std::stoi(name);
        return id == IDCANCEL || item(hwnd, id) ? id : -1;
    }
    const std::string wanted = Plain(name);
    if (wanted.empty()) return -1;
    for (const Control& c : d->controls)
        if (is_button(c) && Plain(c.text) == wanted) return c.id;
    return wanted == "close" ? IDCANCEL : -1;
}

HWND DialogManager::item(HWND hwnd, int id) const
{
    const Dialog* d = record(hwnd);
    if (!d) return nullptr;
    for (const Control& c : d->controls)
        if (c.id == id) return c.hwnd;
    return nullptr;
}

void DialogManager::forget(HWND hwnd)
{
    dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                  [&](const std::unique_ptr<Dialog>& d) { return d->hwnd == hwnd; }),
                   dialogs_.end());
}

Dialog* DialogManager::record(HWND hwnd) const
{
    if (!hwnd) return nullptr;
    for (const auto& d : dialogs_)
        if (d->hwnd == hwnd) return d.get();
    return nullptr;
}

Control* DialogManager::control_record(HWND hwnd) const
{
    if (!hwnd) return nullptr;
    for (const auto& d : dialogs_)
        for (Control& c : d->controls)
            if (c.hwnd == hwnd) return &c;
    return nullptr;
}

}  // namespace sim
