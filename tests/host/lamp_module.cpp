// A vessel module with one beacon that any key switches, at once and outside
// any step: what the host draws has to keep up with a module like that.
#include "oapi.h"
#include "vessel.h"

namespace {
class Lamp final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;

    void clbkDefineClass(FILEHANDLE) override { AddBeacon(&beacon); }

    int clbkKeyPress(DWORD, bool down, char*) override
    {
        if (down) beacon.active = !beacon.active;
        return 1;
    }

private:
    VECTOR3 pos{0, 1, 0}, col{1, 1, 1};
    BEACONLIGHTSPEC beacon{2, &pos, &col, 1, 0.5, 0, 0, 0, false};
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new Lamp(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Lamp*>(vessel); }
DLLCLBK const char* ModuleDate() { return "Jan  1 2020"; }
DLLCLBK int GetModuleVersion() { return 1; }
