// What the host keeps of one craft: everything its module defined through
// VESSEL, plus the host's own state of it. Handles given to the module are
// the addresses of the elements below, which stay put for the record's life.
// A step reads the first few members and the lit thrusters alone, and
// refills in place what it writes, so it touches little memory and
// allocates nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/vessel.h"
#include "record/stable_storage.h"
#include "sim/beacons.h"
#include "sim/craft.h"

namespace sim {

class Module;

struct Propellant {
    double capacity = 0;
    double mass = 0;
    double efficiency = 1;
    // What the thrusters ask of the tank in one integration step, kept here
    // so that the step needs no table of its own; meaningful only inside it.
    double step_demand = 0, step_share = 0;
    bool step_asked = false;
};

// Fixed once created, so the craft's views are the same values.
using Attachment = AttachmentView;
using Dock = DockView;

struct Thruster {
    VECTOR3 pos{}, dir{};
    double max_thrust = 0;
    Propellant* resource = nullptr;
    double isp_vacuum = 0;
    double isp_ref = 0;
    double p_ref = 0;

    double level() const { return level_; }  // 0..1, as the craft's controls set it

private:
    // Set through VesselRecord::set_level, which keeps the craft's lit
    // thrusters. All else is fixed once the thruster is created, which is
    // what lets a lit thruster's copy stand for it.
    friend struct VesselRecord;
    double level_ = 0;
};

// A thruster at a level above 0, copied to where a step reads it.
struct LitThruster {
    size_t index;       // among the craft's thrusters, from 0
    Thruster thruster;  // the same values, level included
};

struct ThrusterGroup {
    std::vector<Thruster*> members;  // in the order the module listed them
    int count = 0;
    THGROUP_TYPE type = THGROUP_MAIN;
};

struct Exhaust {
    Thruster* thruster = nullptr;
    double length = 0, width = 0;
    VECTOR3 pos{}, dir{};
    SURFHANDLE texture = nullptr;
};

struct AnimationComponent {
    double state0 = 0, state1 = 0;
    MGROUP_TRANSFORM* transform = nullptr;  // the module's, as handed over
    // The transform's Type(), asked once in the module's own C++ ABI.
    MGROUP_TRANSFORM::TYPE type = MGROUP_TRANSFORM::NULLTRANSFORM;
    AnimationComponent* parent = nullptr;
    // The transform's group list as it read when handed over, to tell a list
    // kept in memory that did not last.
    std::vector<UINT> groups_as_given;
    const char* added_in = nullptr;  // the callback the module added it from; a static name
};

struct Animation {
    double initial_state = 0;
    double state = 0;
    std::vector<AnimationComponent*> components;
};

// A drawn view of a craft; its address is the VISHANDLE a module is given,
// valid from clbkVisualCreated to clbkVisualDestroyed.
struct Visual {
    int refcount = 1;  // the views of the craft, this one counted
};

// Every record announces itself while it lives, so the host can tell a
// handle it gave from anything else a module passes.
struct VesselRecord {
    VesselRecord(std::string name_, std::string class_name_, Module* module_);
    ~VesselRecord();
    VesselRecord(const VesselRecord&) = delete;
    VesselRecord& operator=(const VesselRecord&) = delete;

    // What a step reads or its callbacks usually change comes first, close together.
    VESSEL2* callbacks = nullptr;  // the same object as `vessel`, as the VESSEL2 constructor announced it
    std::vector<Animation> animations;  // a module may set their states at every step
    BodyState body;
    double empty_mass = 0;
    VECTOR3 pmi{};
    StableStorage<Propellant> propellants;
    std::vector<BEACONLIGHTSPEC*> beacons;  // the module's records, read in place
    std::vector<BeaconView> drawn_beacons;  // see Host::drawn_beacons, the way to read them

private:
    std::vector<LitThruster> lit_;  // see lit_thrusters()

public:
    std::string name;
    std::string class_name;
    Module* module;             // outlives every record of its class
    VESSEL* vessel = nullptr;   // from ovcInit; valid until ovcExit

    double size = 0;
    VECTOR3 camera_offset{};
    bool transponder = false;
    DWORD transponder_channel = 0;

    Propellant* default_propellant = nullptr;
    std::vector<std::unique_ptr<Attachment>> attachments;
    StableStorage<Thruster> thrusters;
    StableStorage<ThrusterGroup> groups;
    std::vector<Exhaust> exhausts;
    std::vector<std::unique_ptr<Dock>> docks;
    std::vector<MeshEntry> meshes;
    std::unique_ptr<Visual> visual;  // null while no view draws the craft
    std::vector<std::unique_ptr<AnimationComponent>> components;
    // Handed over by a module of the host's own C++ ABI in
    // AddAnimationComponent (also when the host answered null); released with
    // the record. Those of a module in another ABI came from another C
    // runtime's heap, which the host cannot free into: the module keeps them.
    std::vector<MGROUP_TRANSFORM*> transforms;
    // Takes `transform` into `transforms`; false, taking nothing, when this
    // or another craft holds it already (it would be deleted twice).
    bool hold_transform(MGROUP_TRANSFORM* transform);

    double propellant_mass() const
    {
        double m = 0;
        for (const Propellant& p : propellants) m += p.mass;
        return m;
    }
    double mass() const { return empty_mass + propellant_mass(); }
    ThrusterGroup* group_of_type(THGROUP_TYPE type);

    // Sets one of this craft's thrusters to `level`, clamped to 0..1 (0 when
    // not a number).
    void set_level(Thruster& thruster, double level);
    // The thrusters at a level above 0, in the order they were created: all
    // that a step has to look at, side by side.
    const std::vector<LitThruster>& lit_thrusters() const { return lit_; }
};

// The live record whose handle this is, or null.
VesselRecord* live_record(OBJHANDLE handle) noexcept;

// The craft's beacons read through the addresses the module registered.
std::vector<BeaconView> read_beacons(const VesselRecord& vessel);
// The same into `into`, reusing its memory: no allocation when it has room.
void read_beacons(const VesselRecord& vessel, std::vector<BeaconView>& into);
// One flag per registered beacon, in registration order.
std::vector<bool> beacons_lit(const VesselRecord& vessel);

}  // namespace sim
