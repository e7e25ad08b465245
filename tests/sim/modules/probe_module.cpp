// The host tests' own craft, with numbers chosen so that what the host makes
// of them has a closed form: 600 kg of structure and a 400 kg tank; a main
// engine on the axis; one hover thruster off the centre, which both pushes
// and turns; and for each attitude and linear group a pair of thrusters that
// gives a pure torque or a pure force. One beacon, which L switches at once,
// outside any step; Ctrl+F fills the tank. Its one scenario line of its own,
// DRY_MASS, is the structure's mass in kg. Built twice, as Probe and Twin,
// for the tests that need two classes.
#include <cmath>
#include <cstdio>

#include "oapi.h"
#include "vessel.h"

namespace {
const double tank_capacity = 400;
const double rcs_thrust = 100, rcs_isp = 1000;

struct Nozzle {
    VECTOR3 pos, dir;
};
struct Pair {
    THGROUP_TYPE type;
    Nozzle a, b;
};
// Attitude pairs: opposite thrusts at opposite ends, a torque of 2 x arm x 100 N.
// Linear pairs: equal thrusts either side of the centre, no torque; the back
// pair pushes aslant and its sideways parts cancel.
const Pair pairs[] = {
    {THGROUP_ATT_PITCHUP, {{0, 0, 2}, {0, 1, 0}}, {{0, 0, -2}, {0, -1, 0}}},
    {THGROUP_ATT_PITCHDOWN, {{0, 0, 2}, {0, -1, 0}}, {{0, 0, -2}, {0, 1, 0}}},
    {THGROUP_ATT_YAWLEFT, {{0, 0, 2}, {-1, 0, 0}}, {{0, 0, -2}, {1, 0, 0}}},
    {THGROUP_ATT_YAWRIGHT, {{0, 0, 2}, {1, 0, 0}}, {{0, 0, -2}, {-1, 0, 0}}},
    {THGROUP_ATT_BANKLEFT, {{1, 0, 0}, {0, 1, 0}}, {{-1, 0, 0}, {0, -1, 0}}},
    {THGROUP_ATT_BANKRIGHT, {{1, 0, 0}, {0, -1, 0}}, {{-1, 0, 0}, {0, 1, 0}}},
    {THGROUP_ATT_RIGHT, {{0, 0, 1}, {1, 0, 0}}, {{0, 0, -1}, {1, 0, 0}}},
    {THGROUP_ATT_LEFT, {{0, 0, 1}, {-1, 0, 0}}, {{0, 0, -1}, {-1, 0, 0}}},
    {THGROUP_ATT_UP, {{0, 0, 1}, {0, 1, 0}}, {{0, 0, -1}, {0, 1, 0}}},
    {THGROUP_ATT_DOWN, {{0, 0, 1}, {0, -1, 0}}, {{0, 0, -1}, {0, -1, 0}}},
    {THGROUP_ATT_FORWARD, {{1, 0, 0}, {0, 0, 1}}, {{-1, 0, 0}, {0, 0, 1}}},
    {THGROUP_ATT_BACK, {{1, 0, 0}, {-0.6, 0, -0.8}}, {{-1, 0, 0}, {0.6, 0, -0.8}}},
};

class Probe final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;

    void clbkDefineClass(FILEHANDLE) override
    {
        SetEmptyMass(dry_mass);
        SetPMI(_V(2, 4, 1));
        PROPELLANT_HANDLE tank = CreatePropellantResource(tank_capacity);
        SetDefaultPropellantResource(tank);
        // A reference Isp that free space must not use.
        THRUSTER_HANDLE main = CreateThruster(_V(0, 0, -2), _V(0, 0, 1), 2000, tank, 3000, 2500);
        CreateThrusterGroup(&main, 1, THGROUP_MAIN);
        THRUSTER_HANDLE hover = CreateThruster(_V(0, 0, -2), _V(0, 1, 0), 500, tank, rcs_isp);
        CreateThrusterGroup(&hover, 1, THGROUP_HOVER);
        for (const Pair& p : pairs) {
            THRUSTER_HANDLE th[2] = {CreateThruster(p.a.pos, p.a.dir, rcs_thrust, tank, rcs_isp),
                                     CreateThruster(p.b.pos, p.b.dir, rcs_thrust, tank, rcs_isp)};
            CreateThrusterGroup(th, 2, p.type);
        }
        AddBeacon(&beacon);
    }

    int clbkKeyPress(DWORD key, bool down, char* kstate) override
    {
        if (!down) return 0;
        if (ControlHeld(kstate)) {
            if (key != OAPI_KEY_F) return 0;
            SetFuelMass(tank_capacity);
            return 1;
        }
        if (key != OAPI_KEY_L) return 0;
        beacon.active = !beacon.active;
        return 1;
    }

    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        char* line;
        while (oapiReadScenario_nextline(scn, line))
            if (!ReadDryMass(line)) ParseScenarioLineEx(line, status);
    }

    void clbkWriteScenario(FILEHANDLE scn) override
    {
        SaveDefaultState(scn);
        oapiWriteScenario_float(scn, "DRY_MASS", dry_mass);
    }

private:
    // DRY_MASS with a mass above 0; any other line is the host's to place or report.
    bool ReadDryMass(const char* line)
    {
        double mass;
        char more;
        if (std::sscanf(line, "DRY_MASS %lf%c", &mass, &more) != 1 || !std::isfinite(mass) || !(mass > 0)) return false;
        dry_mass = mass;
        SetEmptyMass(dry_mass);
        return true;
    }

    double dry_mass = 600;
    VECTOR3 beacon_pos{0, 1, 0}, beacon_col{1, 1, 1};
    BEACONLIGHTSPEC beacon{2, &beacon_pos, &beacon_col, 1, 0.5, 0, 0, 0, false};
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new Probe(hVessel, flightmodel); }
DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Probe*>(vessel); }
DLLCLBK const char* ModuleDate() { return "Jan  1 2020"; }
DLLCLBK int GetModuleVersion() { return 1; }
