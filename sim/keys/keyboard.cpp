// The keyboard state a craft's key callbacks are handed.
#include "sim/keyboard.h"

#include <stdexcept>
#include <string>

namespace sim {

KeyboardState keyboard_state(const std::vector<DWORD>& held)
{
    KeyboardState state{};
    for (DWORD code : held) {
        if (code > 255) throw std::invalid_argument("key code " + std::to_string(code) + " is outside 0 to 255");
        state[code] = static_cast<char>(0x80);
    }
    return state;
}

}  // namespace sim
