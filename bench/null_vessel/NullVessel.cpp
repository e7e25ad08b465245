// A vessel module whose craft the host flies like a Mervex (one tank, 23
// thrusters in 13 groups, four beacons) but whose callbacks do nothing per
// step: beside Mervex in the benchmark it shows what the module itself costs.
// It is loaded with the platform loader like any module, so the host reaches
// it through the same exports and virtual calls.
#include <new>

#include "oapi.h"
#include "vessel.h"

namespace {
VECTOR3 beacon_pos[4] = {{1, 1, 0}, {-1, 1, 0}, {0, 1.3, 0}, {0, 1.3, -1}};
VECTOR3 beacon_col[4] = {{0, 1, 0}, {1, 0, 0}, {1, 1, 1}, {1, 1, 1}};

class NullVessel final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;

    void clbkDefineClass(FILEHANDLE) override
    {
        SetSize(5);
        SetEmptyMass(1500);
        SetPMI(_V(5, 5, 0.85));
        PROPELLANT_HANDLE tank = CreatePropellantResource(500);
        SetDefaultPropellantResource(tank);
        THRUSTER_HANDLE main = CreateThruster(_V(0, 0.05, -2.8), _V(0, 0, 1), 440, tank, 2344.59, 2187.63, 101400);
        CreateThrusterGroup(&main, 1, THGROUP_MAIN);
        // Eleven pairs of opposite thrusters around the hull; twelve groups of a pair.
        THRUSTER_HANDLE rcs[22];
        for (int i = 0; i < 22; ++i) {
            const double side = i % 2 ? 1 : -1;
            const VECTOR3 dir = {i / 2 % 3 == 0 ? side : 0, i / 2 % 3 == 1 ? side : 0, i / 2 % 3 == 2 ? side : 0};
            rcs[i] = CreateThruster(_V(-side * 1.2, i % 3 - 1.0, i < 11 ? -3 : 0), dir, 27, tank, 2344.59, 0, 101400);
        }
        for (int g = 0; g < 12; ++g) {
            THRUSTER_HANDLE pair[2] = {rcs[2 * g % 22], rcs[(2 * g + 1) % 22]};
            CreateThrusterGroup(pair, 2, static_cast<THGROUP_TYPE>(THGROUP_ATT_PITCHUP + g));
        }
        for (int i = 0; i < 4; ++i) {
            beacon[i] = {2, &beacon_pos[i], &beacon_col[i], 0.05, 0.8, 0, 0.05, 0.2, true};
            AddBeacon(&beacon[i]);
        }
    }

private:
    BEACONLIGHTSPEC beacon[4];
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new (std::nothrow) NullVessel(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<NullVessel*>(vessel); }
DLLCLBK const char* ModuleDate() { return "Jan 18 2014"; }
DLLCLBK int GetModuleVersion() { return 1; }
