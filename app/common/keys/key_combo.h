// Key presses: as a person writes them ("K", "Shift+L", "Ctrl+F",
// "RCtrl+Space", "Alt+K", "0x25"), as the live view's page sends them, and
// as the validator makes them. Codes are the host interface's (host/keycodes.h).
#pragma once

#include <string>
#include <vector>

#include "host/keycodes.h"

namespace app {

// A key pressed with modifier keys held.
struct KeyCombo {
    DWORD key = 0;
    std::vector<DWORD> modifiers;  // codes of the modifier keys held, in the order given
    std::string written;           // as a person wrote it; empty for a press a program made

    KeyCombo() = default;
    // A press with one modifier key held, or none for 0.
    KeyCombo(DWORD key_code, DWORD modifier);
    KeyCombo(DWORD key_code, std::vector<DWORD> modifier_codes);

    // As parse_key reads it back: "Shift+K", "RCtrl+Space", "0x25".
    std::string name() const;
    // For messages: "key " and what the person wrote, else the name.
    std::string text() const;
};

// Throws std::invalid_argument with a reason a person can act on.
KeyCombo parse_key(const std::string& text);

// The name a modifier key has in a key's text ("Shift", "RCtrl"), or ""
// for a key that is not one.
std::string modifier_name(DWORD code);

// A key code as parse_key takes it: "W", "Space", "F1"; a code it has no
// name for as "0x25" (and above 0xFF, which no keyboard sends, as well).
std::string key_name(DWORD code);

// Names the parser knows, for --help.
std::string key_names_help();

}  // namespace app
