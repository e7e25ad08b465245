// Keyboard commands: K deploys, Shift+L switches the lights, Ctrl+F refuels
// once, Ctrl+Space opens the control dialog. Alt is never looked at.
#include "Mervex.h"

namespace {
const DWORD key_lshift = 0x2A;
const DWORD key_rshift = 0x36;
const DWORD key_lctrl = 0x1D;
const DWORD key_rctrl = 0x9D;
const DWORD key_k = 0x25;
const DWORD key_l = 0x26;
const DWORD key_f = 0x21;
const DWORD key_space = 0x39;

const double full_tank = 500.0;

bool Held(const char* kstate, DWORD key)
{
    return (static_cast<unsigned char>(kstate[key]) & 0x80) != 0;
}
}  // namespace

int Mervex::clbkKeyPress(DWORD key, bool down, char* kstate)
{
    if (!down) return 0;
    if (Held(kstate, key_lshift) || Held(kstate, key_rshift)) {
        if (key != key_l) return 0;
        navlights_cmd = !navlights_cmd;
        return 1;
    }
    if (Held(kstate, key_lctrl) || Held(kstate, key_rctrl)) {
        if (key == key_f) {
            if (refuel_available) {
                SetFuelMass(full_tank);
                refuel_available = false;
            }
            return 1;
        }
        if (key == key_space) {
            OpenControlDialog();
            return 1;
        }
        return 0;
    }
    if (key != key_k) return 0;
    deploy_cmd = true;
    return 1;
}
