// The craft's physical definition: mass, tank, engines, groups, ports, mesh.
#include "Mervex.h"

namespace {
const double main_thrust = 440.0;
const double rcs_thrust = 27.0;
const double isp_vacuum = 2344.59;
const double isp_sea_level = 2187.63;
const double p_ref = 101400.0;

struct Rcs {
    VECTOR3 pos;
    VECTOR3 dir;
    int row, slot;
};

// The attitude and translation thrusters, in creation order.
const Rcs rcs[22] = {
    {{-0.1, 1.38, -3.05}, {0, -1, 0}, 0, 0},   {{0.1, 1.38, -3.05}, {0, -1, 0}, 0, 1},
    {{-1.12, -0.25, 0}, {0, 1, 0}, 0, 2},      {{1.12, -0.25, 0}, {0, 1, 0}, 0, 3},
    {{-0.1, -1.38, -3.05}, {0, 1, 0}, 1, 0},   {{0.1, -1.38, -3.05}, {0, 1, 0}, 1, 1},
    {{-1.12, 0.25, 0}, {0, -1, 0}, 1, 2},      {{1.12, 0.25, 0}, {0, -1, 0}, 1, 3},
    {{-1.38, -0.1, -3.05}, {1, 0, 0}, 2, 0},   {{-1.38, 0.1, -3.05}, {1, 0, 0}, 2, 1},
    {{1.2, -0.1, 0}, {-1, 0, 0}, 2, 2},        {{1.2, 0.1, 0}, {-1, 0, 0}, 2, 3},
    {{1.38, -0.1, -3.05}, {-1, 0, 0}, 3, 0},   {{1.38, 0.1, -3.05}, {-1, 0, 0}, 3, 1},
    {{-1.2, -0.1, 0}, {1, 0, 0}, 3, 2},        {{-1.2, 0.1, 0}, {1, 0, 0}, 3, 3},
    {{-1.1, 0, -3.1}, {0, 0, 1}, 10, 0},       {{1.1, 0, -3.1}, {0, 0, 1}, 10, 1},
    {{0, 1.1, -3.1}, {0, 0, 1}, 10, 2},        {{0, -1.1, -3.1}, {0, 0, 1}, 10, 3},
    // Not unit length on purpose; the host gets them as written.
    {{-1.15, 0, 0.04}, {0.141, 0, -0.99}, 11, 0}, {{1.15, 0, 0.04}, {-0.141, 0, -0.99}, 11, 1},
};

// Rows 4 to 9 reuse thrusters of rows 0 to 3: {row, slot} of each copy's source.
struct Copy {
    int row, slot, from_row, from_slot;
};
const Copy copies[12] = {
    {4, 0, 0, 3}, {4, 1, 1, 2},  // 4, 7
    {5, 0, 0, 2}, {5, 1, 1, 3},  // 3, 8
    {6, 0, 0, 2}, {6, 1, 0, 3},  // 3, 4
    {7, 0, 1, 2}, {7, 1, 1, 3},  // 7, 8
    {8, 0, 2, 2}, {8, 1, 2, 3},  // 11, 12
    {9, 0, 3, 2}, {9, 1, 3, 3},  // 15, 16
};

struct Group {
    int row, count;
    THGROUP_TYPE type;
};
const Group groups[12] = {
    {0, 4, THGROUP_ATT_PITCHUP}, {1, 4, THGROUP_ATT_PITCHDOWN}, {2, 4, THGROUP_ATT_YAWLEFT},
    {3, 4, THGROUP_ATT_YAWRIGHT}, {4, 2, THGROUP_ATT_BANKLEFT}, {5, 2, THGROUP_ATT_BANKRIGHT},
    {8, 2, THGROUP_ATT_LEFT},     {9, 2, THGROUP_ATT_RIGHT},    {7, 2, THGROUP_ATT_DOWN},
    {6, 2, THGROUP_ATT_UP},       {10, 4, THGROUP_ATT_FORWARD}, {11, 2, THGROUP_ATT_BACK},
};
}  // namespace

void Mervex::clbkDefineClass(FILEHANDLE)
{
    SetSize(5);
    SetEmptyMass(payload_mass + 1500);
    SetPMI(_V(5, 5, 0.85));
    SetCameraOffset(_V(0, 0, 2.552));

    propellant_res = CreatePropellantResource(500, -1, 1);
    SetDefaultPropellantResource(propellant_res);

    attach_front_xs = CreateAttachment(true, _V(0, 0, 2.467), _V(0, 0, 1), _V(0, 1, 0), "XS", false);
    attach_rear_gs = CreateAttachment(true, _V(0.002, 0.629, -2.649), _V(0, 0, -1), _V(0, -1, 0), "GS", false);
    attach_rear_xs = CreateAttachment(true, _V(0, 0, -2.535), _V(0, 0, -1), _V(0, 1, 0), "XS", false);

    main_thruster = CreateThruster(_V(0, 0.05, -2.8), _V(0, 0, 1), main_thrust, propellant_res, isp_vacuum,
                                   isp_sea_level, p_ref);
    main_group = CreateThrusterGroup(&main_thruster, 1, THGROUP_MAIN);
    AddExhaust(main_thruster, 2.5, 0.1, _V(0, 0.05, -2.95), _V(0, 0, -1), nullptr);

    for (const Rcs& t : rcs)
        group_members[t.row][t.slot] = CreateThruster(t.pos, t.dir, rcs_thrust, propellant_res, isp_vacuum, 0, p_ref);
    for (const Copy& c : copies) group_members[c.row][c.slot] = group_members[c.from_row][c.from_slot];
    for (const Group& g : groups) CreateThrusterGroup(group_members[g.row], g.count, g.type);

    CreateDock(_V(0, 0.068, 2.331), _V(0, 0, 1), _V(0, -1, 0));
    EnableTransponder(true);
    SetTransponderChannel(466);

    const UINT mesh = AddMesh("Daskern/Mervex", nullptr);
    SetMeshVisibilityMode(mesh, 1);
    anim_arrays = static_cast<short>(CreateAnimation(0));

    for (ANIMATIONCOMPONENT_HANDLE& c : array_comp) c = nullptr;
    array_state = 1.0f;
    deploy_cmd = false;
    navlights_cmd = false;
    dialog_opened = false;
    dialog_requested = false;
    refuel_available = true;

    DefineArrayAnimation(mesh);
    RegisterBeacons();
}
