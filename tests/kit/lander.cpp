// A lander that lowers its gear on G: the smallest module with a key.
#include <cstring>
#include <new>

#include "oapi.h"
#include "vessel.h"

namespace {
class Lander final : public VESSEL2 {
public:
    Lander(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

    void clbkDefineClass(FILEHANDLE) override
    {
        SetSize(3);
        SetEmptyMass(1200);
        SetPMI(_V(1, 1, 1));
        PROPELLANT_HANDLE propellant = CreatePropellantResource(400);
        THRUSTER_HANDLE engine = CreateThruster(_V(0, -1, 0), _V(0, 1, 0), 3000, propellant, 3000);
        CreateThrusterGroup(&engine, 1, THGROUP_HOVER);
    }

    int clbkKeyPress(DWORD key, bool down, char* kstate) override
    {
        if (!down || key != OAPI_KEY_G || ShiftHeld(kstate) || ControlHeld(kstate)) return 0;
        gear_down = true;
        return 1;
    }

    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
            if (std::strcmp(line, "GEAR_DOWN") == 0) gear_down = true;
            else ParseScenarioLineEx(line, status);
        }
    }

    void clbkWriteScenario(FILEHANDLE scn) override
    {
        SaveDefaultState(scn);
        if (gear_down) oapiWriteScenario_string(scn, "GEAR_DOWN", "");
    }

private:
    bool gear_down = false;
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new (std::nothrow) Lander(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Lander*>(vessel); }
