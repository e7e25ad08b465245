#include "dialogs/dialog_layout.h"

#include <cctype>
#include <string>

#include "resfmt/dialog_template.h"
#include "faults/module_faults.h"

namespace sim {

namespace {

constexpr DWORD ws_disabled = 0x08000000;

// Windows gives the predefined classes their numbers whether a template names them or numbers them.
WORD class_atom(const resfmt::NameOrId& window_class)
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

}  // namespace

std::optional<Dialog> dialog_from_template(const std::uint8_t* data, std::size_t size, int resid,
                                           const std::string& module, ModuleFaults& faults)
{
    resfmt::DialogTemplate t;
    try {
        t = resfmt::parse_dialog_template(data, size);
    } catch (const std::exception& e) {
        faults.warn({"oapiOpenDialog", std::to_string(resid), "",
                     "the template of dialog " + std::to_string(resid) + " in " + module + " is unusable: " + e.what()});
        return std::nullopt;
    }
    Dialog dialog;
    dialog.caption = t.caption;
    dialog.style = t.style;
    dialog.cx = t.cx;
    dialog.cy = t.cy;
    for (const resfmt::DialogItemTemplate& item : t.items) {
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
    return dialog;
}

}  // namespace sim
