// The Host's key events: keys as the host delivers them to a craft.
#include <stdexcept>

#include "core/host_impl.h"

namespace sim {

// Any code is delivered, so that a module's handling of codes no keyboard
// sends can be tried; only a whole press is limited to the keyboard's.
int Host::Impl::key_event(Craft craft, DWORD key, bool down, const KeyboardState& kstate)
{
    if (!holds(craft)) throw std::logic_error("key event for a craft the host does not hold");
    VesselRecord& vessel = host_access::record(craft);
    held_keys_ = kstate;
    // The callback gets its own copy: what it does to the bytes stays with it.
    KeyboardState copy = kstate;
    const int result = module_faults_->call_module("clbkKeyPress", &vessel, 0,
                                                  [&] { return vessel.callbacks->clbkKeyPress(key, down, copy.data()); });
    module_faults_->report();
    return result;
}

int Host::Impl::key_press(Craft vessel, DWORD key, const std::vector<DWORD>& modifiers)
{
    // The key first, so that a bad code among both is the key's.
    std::vector<DWORD> held{key};
    held.insert(held.end(), modifiers.begin(), modifiers.end());
    KeyboardState state = keyboard_state(held);
    const int result = key_event(vessel, key, true, state);
    state[key] = 0;
    key_event(vessel, key, false, state);
    return result;
}

}  // namespace sim
