// Tank: a vessel module as small as one can be, built against host/ alone.
// A propellant tank with one engine behind it. Its one scenario line of its
// own, DRY_MASS, is the mass of the structure in kg.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "oapi.h"
#include "vessel.h"

namespace {
class Tank final : public VESSEL2 {
public:
    Tank(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}
    ~Tank() = default;  // through ovcExit only, which knows the type

    void clbkDefineClass(FILEHANDLE) override
    {
        SetSize(2);
        SetEmptyMass(dry_mass);
        SetPMI(_V(0.6, 0.6, 0.4));
        PROPELLANT_HANDLE propellant = CreatePropellantResource(300);
        THRUSTER_HANDLE engine = CreateThruster(_V(0, 0, -1.2), _V(0, 0, 1), 200, propellant, 3000);
        CreateThrusterGroup(&engine, 1, THGROUP_MAIN);
        AddMesh("Examples/Tank");
    }

    void clbkReadScenario(FILEHANDLE scn, void* status) override
    {
        char* line;
        while (oapiReadScenario_nextline(scn, line)) {
            // A DRY_MASS that is not a mass above 0 goes to the host, which reports it.
            if (std::strncmp(line, "DRY_MASS ", 9) == 0) {
                char* end = nullptr;
                const double mass = std::strtod(line + 9, &end);
                if (end != line + 9 && *end == '\0' && std::isfinite(mass) && mass > 0) {
                    dry_mass = mass;
                    SetEmptyMass(dry_mass);
                    continue;
                }
            }
            ParseScenarioLineEx(line, status);
        }
    }

    void clbkWriteScenario(FILEHANDLE scn) override
    {
        SaveDefaultState(scn);
        oapiWriteScenario_float(scn, "DRY_MASS", dry_mass);
    }

private:
    double dry_mass = 800;
};
}  // namespace

DLLCLBK void InitModule(HINSTANCE) {}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel) { return new (std::nothrow) Tank(hVessel, flightmodel); }

DLLCLBK void ovcExit(VESSEL* vessel) { delete static_cast<Tank*>(vessel); }

DLLCLBK const char* ModuleDate() { return "Dec 8 2026"; }

DLLCLBK int GetModuleVersion() { return 1; }
