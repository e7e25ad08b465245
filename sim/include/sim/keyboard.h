// Keyboard input as the host delivers it to a craft: a key code of the
// DirectInput set (0 to 255) and a 256-byte state, bit 7 set for each held key.
#pragma once

#include <array>
#include <vector>

#include "host/win_compat.h"

namespace sim {

using KeyboardState = std::array<char, 256>;

namespace key {
constexpr DWORD lshift = 0x2A, rshift = 0x36, lctrl = 0x1D, rctrl = 0x9D, lalt = 0x38, ralt = 0xB8;
constexpr DWORD f = 0x21, k = 0x25, l = 0x26, space = 0x39;
}  // namespace key

// The state with 0x80 on each listed key and 0 elsewhere. Throws
// std::invalid_argument for a code above 255.
KeyboardState keyboard_state(const std::vector<DWORD>& held);

}  // namespace sim
