// Keyboard commands: K deploys, Shift+L switches the lights, Ctrl+F refuels
// once, Ctrl+Space opens the control dialog. Alt is never looked at.
#include "Mervex.h"
#include "keycodes.h"

namespace {
const double full_tank = 500.0;
}  // namespace

int Mervex::clbkKeyPress(DWORD key, bool down, char* kstate)
{
    if (!down) return 0;
    if (ShiftHeld(kstate)) {
        if (key != OAPI_KEY_L) return 0;
        navlights_cmd = !navlights_cmd;
        return 1;
    }
    if (ControlHeld(kstate)) {
        if (key == OAPI_KEY_F) {
            if (refuel_available) {
                SetFuelMass(full_tank);
                refuel_available = false;
            }
            return 1;
        }
        if (key == OAPI_KEY_SPACE) {
            OpenControlDialog();
            return 1;
        }
        return 0;
    }
    if (key != OAPI_KEY_K) return 0;
    deploy_cmd = true;
    return 1;
}
