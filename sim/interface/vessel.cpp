// The host's side of VESSEL and VESSEL2: every operation lands in the
// craft's record and in the call log. Handles a module passes back are
// checked against the craft's own; anything else is a module fault.
#include <algorithm>

#include "host/vessel.h"
#include "interface/host_call.h"
#include "interface/vessel_api.h"
#include "scenario/standard_lines.h"
#include "core/host_access.h"
#include "record/vessel_record.h"

using sim::Call;
using sim::OnCraft;
using sim::VesselRecord;

namespace {
constexpr UINT no_index = static_cast<UINT>(-1);

// The element of `owned` that `handle` points to, or null.
template <class T>
T* Owned(const std::vector<std::unique_ptr<T>>& owned, const void* handle)
{
    for (const auto& p : owned)
        if (p.get() == handle) return p.get();
    return nullptr;
}

bool KnownAnimation(const VesselRecord& r, UINT anim, const Call& call)
{
    if (anim < r.animations.size()) return true;
    call.fault("no animation of the craft has this id");
    return false;
}
}  // namespace

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) noexcept : vessel_handle(hVessel), flight_model(fmodel) {}
VESSEL::~VESSEL() = default;

OBJHANDLE VESSEL::GetHandle() const noexcept { return vessel_handle; }

void VESSEL::SetSize(double size) const noexcept
{
    OnCraft(this, "SetSize", {size}, [&](VesselRecord& r, const Call&) { r.size = size; });
}

void VESSEL::SetEmptyMass(double mass) const noexcept
{
    OnCraft(this, "SetEmptyMass", {mass}, [&](VesselRecord& r, const Call&) { r.empty_mass = mass; });
}

void VESSEL::SetPMI(const VECTOR3& pmi) const noexcept
{
    OnCraft(this, "SetPMI", {pmi}, [&](VesselRecord& r, const Call&) { r.pmi = pmi; });
}

void VESSEL::SetCameraOffset(const VECTOR3& offset) const noexcept
{
    OnCraft(this, "SetCameraOffset", {offset}, [&](VesselRecord& r, const Call&) { r.camera_offset = offset; });
}

PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double maxmass, double mass, double efficiency) const noexcept
{
    return OnCraft(this, "CreatePropellantResource", {maxmass, mass, efficiency}, PROPELLANT_HANDLE(nullptr),
                   [&](VesselRecord& r, const Call&) -> PROPELLANT_HANDLE {
                       sim::Propellant& p = r.propellants.emplace_back();
                       p.capacity = maxmass;
                       p.mass = mass < 0 ? maxmass : std::min(mass, maxmass);
                       p.efficiency = efficiency;
                       return &p;
                   });
}

void VESSEL::SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const noexcept
{
    OnCraft(this, "SetDefaultPropellantResource", {ph}, [&](VesselRecord& r, const Call& call) {
        sim::Propellant* p = r.propellants.find(ph);
        if (ph && !p) return call.fault("not a propellant resource of the craft");
        // Meant at times, but most often a handle taken before its tank was made.
        if (!ph) call.warn("the default tank is set to none (null): the fuel mass and refuelling then act on no tank");
        r.default_propellant = p;
    });
}

void VESSEL::SetFuelMass(double mass) const noexcept
{
    OnCraft(this, "SetFuelMass", {mass}, [&](VesselRecord& r, const Call&) {
        if (r.default_propellant) r.default_propellant->mass = std::clamp(mass, 0.0, r.default_propellant->capacity);
    });
}

ATTACHMENTHANDLE VESSEL::CreateAttachment(bool toparent, const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot,
                                          const char* id, bool loose) const noexcept
{
    return OnCraft(this, "CreateAttachment", {toparent, pos, dir, rot, id, loose}, ATTACHMENTHANDLE(nullptr),
                   [&](VesselRecord& r, const Call& call) -> ATTACHMENTHANDLE {
                       if (!id) {
                           call.fault("the attachment's id is null");
                           return nullptr;
                       }
                       auto a = std::make_unique<sim::Attachment>();
                       *a = {toparent, pos, dir, rot, id, loose};
                       r.attachments.push_back(std::move(a));
                       return r.attachments.back().get();
                   });
}

THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp,
                                       double isp0, double isp_ref, double p_ref) const noexcept
{
    return OnCraft(this, "CreateThruster", {pos, dir, maxth0, hp, isp0, isp_ref, p_ref}, THRUSTER_HANDLE(nullptr),
                   [&](VesselRecord& r, const Call& call) -> THRUSTER_HANDLE {
                       sim::Propellant* resource = r.propellants.find(hp);
                       if (hp && !resource) {
                           call.fault("not a propellant resource of the craft");
                           return nullptr;
                       }
                       sim::Thruster& t = r.thrusters.emplace_back();
                       t.pos = pos;
                       t.dir = dir;
                       t.max_thrust = maxth0;
                       t.resource = resource;
                       t.isp_vacuum = isp0;
                       t.isp_ref = isp_ref;
                       t.p_ref = p_ref;
                       return &t;
                   });
}

THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE type) const noexcept
{
    return OnCraft(this, "CreateThrusterGroup", {th, nth, type}, THGROUP_HANDLE(nullptr),
                   [&](VesselRecord& r, const Call& call) -> THGROUP_HANDLE {
                       if (nth < 0 || (nth > 0 && !th)) {
                           call.fault("no list of that many thrusters");
                           return nullptr;
                       }
                       if (type < THGROUP_MAIN || type > THGROUP_ATT_BACK) {
                           call.fault("no thruster group has this type");
                           return nullptr;
                       }
                       if (nth == 0) call.warn("a thruster group with no thrusters does nothing when fired");
                       std::vector<sim::Thruster*> members;
                       for (int i = 0; i < nth; ++i) {
                           sim::Thruster* t = r.thrusters.find(th[i]);
                           if (!t) {
                               call.fault("a member is not a thruster of the craft");
                               return nullptr;
                           }
                           members.push_back(t);
                       }
                       sim::ThrusterGroup& g = r.groups.emplace_back();
                       g.members = std::move(members);
                       g.count = nth;
                       g.type = type;
                       return &g;
                   });
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                        SURFHANDLE tex) const noexcept
{
    return OnCraft(this, "AddExhaust", {th, lscale, wscale, pos, dir, tex}, no_index,
                   [&](VesselRecord& r, const Call& call) {
                       sim::Thruster* t = r.thrusters.find(th);
                       if (!t) {
                           call.fault("not a thruster of the craft");
                           return no_index;
                       }
                       r.exhausts.push_back({t, lscale, wscale, pos, dir, tex});
                       return static_cast<UINT>(r.exhausts.size() - 1);
                   });
}

DOCKHANDLE VESSEL::CreateDock(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot) const noexcept
{
    return OnCraft(this, "CreateDock", {pos, dir, rot}, DOCKHANDLE(nullptr), [&](VesselRecord& r, const Call&) -> DOCKHANDLE {
        auto d = std::make_unique<sim::Dock>();
        *d = {pos, dir, rot};
        r.docks.push_back(std::move(d));
        return r.docks.back().get();
    });
}

bool VESSEL::EnableTransponder(bool enable) const noexcept
{
    return OnCraft(this, "EnableTransponder", {enable}, false, [&](VesselRecord& r, const Call&) {
        r.transponder = enable;
        return true;
    });
}

bool VESSEL::SetTransponderChannel(DWORD ch) const noexcept
{
    return OnCraft(this, "SetTransponderChannel", {ch}, false, [&](VesselRecord& r, const Call&) {
        r.transponder_channel = ch;
        return r.transponder;
    });
}

UINT VESSEL::AddMesh(const char* meshname, const VECTOR3* ofs) const noexcept
{
    return OnCraft(this, "AddMesh", {meshname, ofs}, no_index, [&](VesselRecord& r, const Call& call) {
        if (!meshname) {
            call.fault("the mesh name is null");
            return no_index;
        }
        sim::MeshEntry m;
        m.name = meshname;
        m.has_offset = ofs != nullptr;
        if (ofs) m.offset = *ofs;
        r.meshes.push_back(m);
        return static_cast<UINT>(r.meshes.size() - 1);
    });
}

void VESSEL::SetMeshVisibilityMode(UINT meshidx, WORD mode) const noexcept
{
    OnCraft(this, "SetMeshVisibilityMode", {meshidx, mode}, [&](VesselRecord& r, const Call& call) {
        if (meshidx >= r.meshes.size()) return call.fault("no mesh of the craft has this index");
        r.meshes[meshidx].visibility = mode;
    });
}

UINT VESSEL::CreateAnimation(double initial_state) const noexcept
{
    return OnCraft(this, "CreateAnimation", {initial_state}, no_index, [&](VesselRecord& r, const Call&) {
        r.animations.push_back({initial_state, initial_state, {}});
        return static_cast<UINT>(r.animations.size() - 1);
    });
}

ANIMATIONCOMPONENT_HANDLE VESSEL::AddAnimationComponent(UINT anim, double state0, double state1,
                                                        MGROUP_TRANSFORM* trans,
                                                        ANIMATIONCOMPONENT_HANDLE parent) const noexcept
{
    const MGROUP_TRANSFORM::TYPE type = trans ? trans->Type() : MGROUP_TRANSFORM::NULLTRANSFORM;
    return sim::add_animation_component(this, anim, state0, state1, trans, type, sim::TransformOwner::host, parent);
}

namespace sim {
ANIMATIONCOMPONENT_HANDLE add_animation_component(const VESSEL* vessel, UINT anim, double state0, double state1,
                                                  MGROUP_TRANSFORM* trans, MGROUP_TRANSFORM::TYPE type,
                                                  TransformOwner owner, ANIMATIONCOMPONENT_HANDLE parent) noexcept
{
    return OnCraft<false>(vessel, "AddAnimationComponent", {anim, state0, state1, trans, parent},
                   ANIMATIONCOMPONENT_HANDLE(nullptr),
                   [&](VesselRecord& r, const Call& call) -> ANIMATIONCOMPONENT_HANDLE {
                       // The transform is the host's from here on, whatever becomes of the
                       // call; one handed over before stays with the craft that took it.
                       if (trans && owner == TransformOwner::host && !r.hold_transform(trans)) {
                           call.fault("the transform was handed over before; each is the host's to delete once");
                           return nullptr;
                       }
                       if (!call.numbers_finite() || !KnownAnimation(r, anim, call)) return nullptr;
                       if (!trans) {
                           call.fault("the transform is null");
                           return nullptr;
                       }
                       sim::AnimationComponent* parent_component = Owned(r.components, parent);
                       if (parent && !parent_component) {
                           call.fault("the parent is not an animation component of the craft");
                           return nullptr;
                       }
                       const int index = static_cast<int>(r.components.size());
                       auto c = std::make_unique<sim::AnimationComponent>();
                       c->state0 = state0;
                       c->state1 = state1;
                       c->transform = trans;
                       c->type = type;
                       c->parent = parent_component;
                       if (trans->grp) c->groups_as_given.assign(trans->grp, trans->grp + trans->ngrp);
                       c->added_in = sim::module_activity().callback;
                       r.components.push_back(std::move(c));
                       if (const sim::Faults* f = sim::host_access::test_faults();
                           f && f->null_animation_component == index)
                           return nullptr;
                       r.animations[anim].components.push_back(r.components.back().get());
                       return r.components.back().get();
                   });
}
}  // namespace sim

bool VESSEL::SetAnimation(UINT anim, double state) const noexcept
{
    return OnCraft(this, "SetAnimation", {anim, state}, false, [&](VesselRecord& r, const Call& call) {
        if (!KnownAnimation(r, anim, call)) return false;
        r.animations[anim].state = state;
        return true;
    });
}

bool VESSEL::SetAnimState(UINT anim, double state) const noexcept
{
    return OnCraft(this, "SetAnimState", {anim, state}, false, [&](VesselRecord& r, const Call& call) {
        if (!KnownAnimation(r, anim, call)) return false;
        r.animations[anim].state = state;
        return true;
    });
}

void VESSEL::AddBeacon(BEACONLIGHTSPEC* bs) const noexcept
{
    OnCraft(this, "AddBeacon", {bs}, [&](VesselRecord& r, const Call& call) {
        if (!bs) return call.fault("the beacon is null");
        if (!bs->pos || !bs->col) return call.fault("the beacon has no position or no colour");
        r.beacons.push_back(bs);
        // Room for the host to draw it without allocating.
        r.drawn_beacons.reserve(r.beacons.size());
    });
}

void VESSEL::ParseScenarioLineEx(char* line, void* status) const noexcept
{
    OnCraft(this, "ParseScenarioLineEx", {line, status}, [&](VesselRecord& r, const Call& call) {
        if (!line) return call.fault("the line is null");
        if (!call.host()) return;
        sim::ParseStatus* given = sim::host_access::scenario_handles()->status;
        if (!given || given != status || given->vessel != &r)
            return call.fault("not the status the host handed to this craft's clbkReadScenario");
        sim::read_standard_line(r, line, given);
    });
}

void VESSEL::SaveDefaultState(FILEHANDLE scn) const noexcept
{
    OnCraft(this, "SaveDefaultState", {scn}, [&](VesselRecord& r, const Call& call) {
        if (!call.host()) return;
        sim::ScenarioBlock* block = sim::host_access::scenario_handles()->write;
        if (!block || block != scn) return call.fault("not the scenario the host handed to clbkWriteScenario");
        sim::write_standard_lines(r, *block);
    });
}

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) noexcept : VESSEL(hVessel, fmodel)
{
    // Not logged: constructing the object is not a call the module makes.
    if (VesselRecord* r = sim::live_record(hVessel)) r->callbacks = this;
    else sim::Call("VESSEL2", nullptr, {hVessel, fmodel}).fault("the handle is not a craft of the host");
}
VESSEL2::~VESSEL2() = default;
