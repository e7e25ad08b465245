// Keyboard input as the host delivers it to a craft: a key code of the
// DirectInput set (0 to 255) and a 256-byte state, bit 7 set for each held
// key. The codes are the host interface's own (host/keycodes.h).
#pragma once

#include <array>
#include <vector>

#include "host/keycodes.h"

namespace sim {

using KeyboardState = std::array<char, 256>;

// The state with 0x80 on each listed key and 0 elsewhere. Throws
// std::invalid_argument for a code above 255.
KeyboardState keyboard_state(const std::vector<DWORD>& held);

}  // namespace sim
