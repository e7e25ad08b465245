// Keys as the host delivers them to a craft: the keyboard state and the Host's key events.
#include "sim/keyboard.h"

#include <stdexcept>
#include <string>

#include "core/host_internals.h"

namespace sim {

namespace {
void CheckCode(DWORD code)
{
    if (code > 255) throw std::invalid_argument("key code " + std::to_string(code) + " is outside 0 to 255");
}
}  // namespace

KeyboardState keyboard_state(const std::vector<DWORD>& held)
{
    KeyboardState state{};
    for (DWORD code : held) {
        CheckCode(code);
        state[code] = static_cast<char>(0x80);
    }
    return state;
}

// Any code is delivered, so that a module's handling of codes no keyboard
// sends can be tried; only a whole press is limited to the keyboard's.
int Host::key_event(Craft craft, DWORD key, bool down, const KeyboardState& kstate)
{
    if (!holds(craft)) throw std::logic_error("key event for a craft the host does not hold");
    VesselRecord& vessel = HostInternals::record(craft);
    held_keys_ = kstate;
    // The callback gets its own copy: what it does to the bytes stays with it.
    KeyboardState copy = kstate;
    const int result = module_faults_->call_module("clbkKeyPress", &vessel, 0,
                                                  [&] { return vessel.callbacks->clbkKeyPress(key, down, copy.data()); });
    module_faults_->report();
    return result;
}

int Host::key_press(Craft vessel, DWORD key, const std::vector<DWORD>& modifiers)
{
    CheckCode(key);
    KeyboardState state = keyboard_state(modifiers);
    state[key] = static_cast<char>(0x80);
    const int result = key_event(vessel, key, true, state);
    state[key] = 0;
    key_event(vessel, key, false, state);
    return result;
}

}  // namespace sim
