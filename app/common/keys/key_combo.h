// Key presses as a person writes them: "K", "Shift+L", "Ctrl+F",
// "RCtrl+Space", "Alt+K", "0x25". Codes are the host interface's (host/keycodes.h).
#pragma once

#include <string>
#include <vector>

#include "host/keycodes.h"

namespace app {

struct KeySpec {
    DWORD code = 0;
    std::vector<DWORD> modifiers;  // codes of the modifier keys held
    std::string text;              // as written, for messages
};

// Throws std::invalid_argument with a reason a person can act on.
KeySpec parse_key(const std::string& text);

// A key code as parse_key takes it: "W", "Space", "F1"; a code it has no
// name for as "0x25" (and above 0xFF, which no keyboard sends, as well).
std::string key_name(DWORD code);

// Names the parser knows, for --help.
std::string key_names_help();

}  // namespace app
