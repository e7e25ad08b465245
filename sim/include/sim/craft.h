// A craft as a program that embeds the host sees it: a handle to one of the
// host's craft that reads what its module defined and where it flies, and
// changes nothing. What a craft is changed by goes through the Host (keys,
// thrust, steps, scenarios), as a user's actions would.
//
// A Craft is valid from the host call that made it until the craft is
// destroyed (Host::destroy_craft, unloading its module, the host's end);
// Host::holds tells whether it still is. Reading a craft that is gone is
// undefined, as with any dangling reference. The views below are copies,
// taken when asked for.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/vessel.h"
#include "sim/animation_pose.h"
#include "sim/beacons.h"

namespace sim {

class Module;
struct VesselRecord;

// Rigid-body state in the inertial frame; attitude as a unit quaternion.
struct BodyState {
    VECTOR3 pos{}, vel{};
    double q[4] = {1, 0, 0, 0};  // w, x, y, z: body to inertial
    VECTOR3 omega{};             // body frame, rad/s
};

// Indices below count from 0 in the order the module created the elements;
// `none` stands for "no such element".
constexpr int none = -1;

struct TankView {
    double capacity = 0, mass = 0, efficiency = 1;
};

struct ThrusterView {
    VECTOR3 pos{}, dir{};
    double max_thrust = 0;
    int tank = none;  // the tank it draws on
    double isp_vacuum = 0, isp_ref = 0, p_ref = 0;
    // What a step takes: the vacuum Isp times the tank's efficiency (0
    // without a tank).
    double exhaust_speed = 0;
    double level = 0;  // 0..1
};

struct GroupView {
    THGROUP_TYPE type = THGROUP_MAIN;
    std::vector<int> thrusters;  // as the module listed them
};

struct ExhaustView {
    int thruster = none;
    double length = 0, width = 0;
    VECTOR3 pos{}, dir{};
    SURFHANDLE texture = nullptr;
};

struct DockView {
    VECTOR3 pos{}, dir{}, rot{};
};

struct AttachmentView {
    bool toparent = false;
    VECTOR3 pos{}, dir{}, rot{};
    std::string id;
    bool loose = false;
};

struct MeshEntry {
    std::string name;
    bool has_offset = false;
    VECTOR3 offset{};
    WORD visibility = 0;
};

struct ComponentView {
    double state0 = 0, state1 = 0;
    // The module's transform, read in place: valid while the craft lives.
    // Null when the module handed none over.
    const MGROUP_TRANSFORM* transform = nullptr;
    MGROUP_TRANSFORM::TYPE type = MGROUP_TRANSFORM::NULLTRANSFORM;
    int parent = none;  // a component of the same craft
    // The group list as it read when the transform was handed over; the
    // transform's own list must still read the same.
    std::vector<UINT> groups_as_given;
    std::string added_in;  // the callback the module added it from, e.g. "clbkDefineClass"; empty for none
};

struct AnimationView {
    double initial_state = 0, state = 0;
    std::vector<int> components;
};

class Craft {
public:
    Craft() = default;  // no craft
    // The host makes these; the record type is its own.
    explicit Craft(const VesselRecord* record) noexcept : record_(record) {}

    explicit operator bool() const { return record_ != nullptr; }
    bool operator==(const Craft& o) const { return record_ == o.record_; }
    bool operator!=(const Craft& o) const { return record_ != o.record_; }
    // The same as the record pointer the host's own lists hold.
    const VesselRecord* record() const { return record_; }

    const std::string& name() const;
    const std::string& class_name() const;
    Module& module() const;
    // The handle the module was given, and the object it made for the craft
    // (null before ovcInit answered); both are the module's to use.
    OBJHANDLE handle() const;
    VESSEL* object() const;
    // The object as its VESSEL2 constructor announced itself, or null.
    VESSEL2* callbacks() const;

    const BodyState& body() const;
    double mass() const;
    double empty_mass() const;
    double propellant_mass() const;
    VECTOR3 pmi() const;
    double size() const;
    VECTOR3 camera_offset() const;
    bool transponder() const;
    DWORD transponder_channel() const;

    std::vector<TankView> tanks() const;
    int default_tank() const;
    std::vector<ThrusterView> thrusters() const;
    std::vector<double> thruster_levels() const;
    std::vector<GroupView> groups() const;
    bool has_group(THGROUP_TYPE type) const;
    std::vector<ExhaustView> exhausts() const;
    std::vector<DockView> docks() const;
    std::vector<AttachmentView> attachments() const;
    const std::vector<MeshEntry>& meshes() const;
    std::vector<ComponentView> components() const;
    std::vector<AnimationView> animations() const;
    std::vector<double> animation_states() const;
    // The beacons as the module's records say now, in the order it added
    // them (Host::drawn_beacons gives them as the last step left them).
    std::vector<BeaconView> beacons() const;
    std::vector<bool> beacons_lit() const;

    // Where group `group` of mesh `mesh` stands with the animations at their
    // states now, or at `states` (one per animation, in order) when given.
    Pose group_pose(UINT mesh, UINT group) const;
    Pose group_pose(UINT mesh, UINT group, const std::vector<double>& states) const;

private:
    const VesselRecord* record_ = nullptr;  // the host's; see above for how long it lives
};

}  // namespace sim
