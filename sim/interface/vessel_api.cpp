// The host's side of VESSEL and VESSEL2: every operation lands in the
// craft's record and in the call log.
#include <algorithm>

#include "host/vessel.h"
#include "scenario/standard_lines.h"
#include "sim/host.h"
#include "sim/vessel_record.h"

using sim::log_call;
using sim::VesselRecord;

namespace {
VesselRecord& Rec(const VESSEL* v) { return sim::record_of(v->GetHandle()); }

}  // namespace

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : vessel_handle(hVessel), flight_model(fmodel) {}
VESSEL::~VESSEL() = default;

OBJHANDLE VESSEL::GetHandle() const { return vessel_handle; }

void VESSEL::SetSize(double size) const
{
    Rec(this).size = size;
    log_call(&Rec(this), "SetSize", {size});
}

void VESSEL::SetEmptyMass(double mass) const
{
    Rec(this).empty_mass = mass;
    log_call(&Rec(this), "SetEmptyMass", {mass});
}

void VESSEL::SetPMI(const VECTOR3& pmi) const
{
    Rec(this).pmi = pmi;
    log_call(&Rec(this), "SetPMI", {pmi.x, pmi.y, pmi.z});
}

void VESSEL::SetCameraOffset(const VECTOR3& offset) const
{
    Rec(this).camera_offset = offset;
    log_call(&Rec(this), "SetCameraOffset", {offset.x, offset.y, offset.z});
}

PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double maxmass, double mass, double efficiency) const
{
    VesselRecord& r = Rec(this);
    sim::Propellant& p = r.propellants.emplace_back();
    p.capacity = maxmass;
    p.mass = mass < 0 ? maxmass : std::min(mass, maxmass);
    p.efficiency = efficiency;
    log_call(&r, "CreatePropellantResource", {maxmass, mass, efficiency});
    return &p;
}

void VESSEL::SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const
{
    Rec(this).default_propellant = static_cast<sim::Propellant*>(ph);
    log_call(&Rec(this), "SetDefaultPropellantResource");
}

void VESSEL::SetFuelMass(double mass) const
{
    VesselRecord& r = Rec(this);
    if (r.default_propellant) r.default_propellant->mass = std::clamp(mass, 0.0, r.default_propellant->capacity);
    log_call(&r, "SetFuelMass", {mass});
}

ATTACHMENTHANDLE VESSEL::CreateAttachment(bool toparent, const VECTOR3& pos, const VECTOR3& dir,
                                          const VECTOR3& rot, const char* id, bool loose) const
{
    VesselRecord& r = Rec(this);
    auto a = std::make_unique<sim::Attachment>();
    *a = {toparent, pos, dir, rot, id ? id : "", loose};
    r.attachments.push_back(std::move(a));
    log_call(&r, "CreateAttachment",
             {double(toparent), pos.x, pos.y, pos.z, dir.x, dir.y, dir.z, rot.x, rot.y, rot.z, double(loose)},
             id ? id : "");
    return r.attachments.back().get();
}

THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp,
                                       double isp0, double isp_ref, double p_ref) const
{
    VesselRecord& r = Rec(this);
    sim::Thruster& t = r.thrusters.emplace_back();
    t.pos = pos;
    t.dir = dir;
    t.max_thrust = maxth0;
    t.resource = static_cast<sim::Propellant*>(hp);
    t.isp_vacuum = isp0;
    t.isp_ref = isp_ref;
    t.p_ref = p_ref;
    log_call(&r, "CreateThruster", {pos.x, pos.y, pos.z, dir.x, dir.y, dir.z, maxth0, isp0, isp_ref, p_ref});
    return &t;
}

THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE type) const
{
    VesselRecord& r = Rec(this);
    sim::ThrusterGroup& g = r.groups.emplace_back();
    for (int i = 0; i < nth; ++i) g.members.push_back(static_cast<sim::Thruster*>(th[i]));
    g.count = nth;
    g.type = type;
    log_call(&r, "CreateThrusterGroup", {double(nth), double(type)});
    return &g;
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                        SURFHANDLE tex) const
{
    VesselRecord& r = Rec(this);
    r.exhausts.push_back({static_cast<sim::Thruster*>(th), lscale, wscale, pos, dir, tex});
    log_call(&r, "AddExhaust", {lscale, wscale, pos.x, pos.y, pos.z, dir.x, dir.y, dir.z});
    return static_cast<UINT>(r.exhausts.size() - 1);
}

DOCKHANDLE VESSEL::CreateDock(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot) const
{
    VesselRecord& r = Rec(this);
    auto d = std::make_unique<sim::Dock>();
    *d = {pos, dir, rot};
    r.docks.push_back(std::move(d));
    log_call(&r, "CreateDock", {pos.x, pos.y, pos.z, dir.x, dir.y, dir.z, rot.x, rot.y, rot.z});
    return r.docks.back().get();
}

bool VESSEL::EnableTransponder(bool enable) const
{
    Rec(this).transponder = enable;
    log_call(&Rec(this), "EnableTransponder", {double(enable)});
    return true;
}

bool VESSEL::SetTransponderChannel(DWORD ch) const
{
    Rec(this).transponder_channel = ch;
    log_call(&Rec(this), "SetTransponderChannel", {double(ch)});
    return Rec(this).transponder;
}

UINT VESSEL::AddMesh(const char* meshname, const VECTOR3* ofs) const
{
    VesselRecord& r = Rec(this);
    sim::MeshEntry m;
    m.name = meshname ? meshname : "";
    m.has_offset = ofs != nullptr;
    if (ofs) m.offset = *ofs;
    r.meshes.push_back(m);
    log_call(&r, "AddMesh", {double(ofs != nullptr)}, m.name);
    return static_cast<UINT>(r.meshes.size() - 1);
}

void VESSEL::SetMeshVisibilityMode(UINT meshidx, WORD mode) const
{
    VesselRecord& r = Rec(this);
    if (meshidx < r.meshes.size()) r.meshes[meshidx].visibility = mode;
    log_call(&r, "SetMeshVisibilityMode", {double(meshidx), double(mode)});
}

UINT VESSEL::CreateAnimation(double initial_state) const
{
    VesselRecord& r = Rec(this);
    r.animations.push_back({initial_state, initial_state, {}});
    log_call(&r, "CreateAnimation", {initial_state});
    return static_cast<UINT>(r.animations.size() - 1);
}

ANIMATIONCOMPONENT_HANDLE VESSEL::AddAnimationComponent(UINT anim, double state0, double state1,
                                                        MGROUP_TRANSFORM* trans,
                                                        ANIMATIONCOMPONENT_HANDLE parent) const
{
    VesselRecord& r = Rec(this);
    log_call(&r, "AddAnimationComponent", {double(anim), state0, state1});
    if (trans) r.transforms.push_back(trans);
    const int index = static_cast<int>(r.components.size());
    auto c = std::make_unique<sim::AnimationComponent>();
    c->state0 = state0;
    c->state1 = state1;
    c->transform = trans;
    c->parent = static_cast<sim::AnimationComponent*>(parent);
    r.components.push_back(std::move(c));
    if (sim::Host::current().faults().null_animation_component == index) return nullptr;
    if (anim < r.animations.size()) r.animations[anim].components.push_back(r.components.back().get());
    return r.components.back().get();
}

bool VESSEL::SetAnimation(UINT anim, double state) const
{
    VesselRecord& r = Rec(this);
    log_call(&r, "SetAnimation", {double(anim), state});
    if (anim >= r.animations.size()) return false;
    r.animations[anim].state = state;
    return true;
}

bool VESSEL::SetAnimState(UINT anim, double state) const
{
    VesselRecord& r = Rec(this);
    log_call(&r, "SetAnimState", {double(anim), state});
    if (anim >= r.animations.size()) return false;
    r.animations[anim].state = state;
    return true;
}

void VESSEL::AddBeacon(BEACONLIGHTSPEC* bs) const
{
    Rec(this).beacons.push_back(bs);
    log_call(&Rec(this), "AddBeacon");
}

void VESSEL::ParseScenarioLineEx(char* line, void* status) const
{
    VesselRecord& r = Rec(this);
    log_call(&r, "ParseScenarioLineEx", {}, line);
    sim::read_standard_line(r, line, static_cast<sim::ParseStatus*>(status));
}

void VESSEL::SaveDefaultState(FILEHANDLE scn) const
{
    VesselRecord& r = Rec(this);
    log_call(&r, "SaveDefaultState");
    sim::write_standard_lines(r, *static_cast<sim::ScenarioBlock*>(scn));
}

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) : VESSEL(hVessel, fmodel)
{
    sim::record_of(hVessel).callbacks = this;
}
VESSEL2::~VESSEL2() = default;

void VESSEL2::clbkDefineClass(FILEHANDLE) {}
void VESSEL2::clbkWriteScenario(FILEHANDLE scn) { SaveDefaultState(scn); }
void VESSEL2::clbkReadScenario(FILEHANDLE, void*) {}
void VESSEL2::clbkSetStateEx(const void*) {}
void VESSEL2::clbkPostCreation() {}
void VESSEL2::clbkFocusChanged(bool, OBJHANDLE, OBJHANDLE) {}
void VESSEL2::clbkPreStep(double, double, double) {}
void VESSEL2::clbkAfterStep(double, double, double) {}
bool VESSEL2::clbkPlaybackEvent(double, double, const char*, const char*) { return false; }
void VESSEL2::clbkVisualCreated(VISHANDLE, int) {}
void VESSEL2::clbkVisualDestroyed(VISHANDLE, int) {}
void VESSEL2::clbkDrawHUD(int, const void*, void*) {}
void VESSEL2::clbkRCSMode(int) {}
void VESSEL2::clbkADCtrlMode(DWORD) {}
void VESSEL2::clbkHUDMode(int) {}
void VESSEL2::clbkMFDMode(int, int) {}
void VESSEL2::clbkNavMode(int, bool) {}
void VESSEL2::clbkDockEvent(int, OBJHANDLE) {}
void VESSEL2::clbkAnimate(double) {}
int VESSEL2::clbkConsumeDirectKey(char*) { return 0; }
int VESSEL2::clbkKeyPress(DWORD, bool, char*) { return 0; }
bool VESSEL2::clbkLoadGenericCockpit() { return false; }
bool VESSEL2::clbkLoadPanel(int) { return false; }
bool VESSEL2::clbkPanelMouseEvent(int, int, int, int) { return false; }
bool VESSEL2::clbkPanelRedrawEvent(int, int, SURFHANDLE) { return false; }
bool VESSEL2::clbkLoadVC(int) { return false; }
bool VESSEL2::clbkVCMouseEvent(int, int, VECTOR3&) { return false; }
bool VESSEL2::clbkVCRedrawEvent(int, int, SURFHANDLE) { return false; }
