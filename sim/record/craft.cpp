#include "sim/craft.h"

#include "record/vessel_record.h"
#include "record/thrusters.h"
#include "record/record_pose.h"
#include "sim/module.h"

namespace sim {

namespace {
template <class T>
int IndexIn(const StableStorage<T>& all, const T* element)
{
    if (!element) return none;
    const size_t i = all.index_of(*element);
    return i < all.size() ? static_cast<int>(i) : none;
}

int ComponentIndex(const VesselRecord& r, const AnimationComponent* c)
{
    for (size_t i = 0; c && i < r.components.size(); ++i)
        if (r.components[i].get() == c) return static_cast<int>(i);
    return none;
}
}  // namespace

const std::string& Craft::name() const { return record_->name; }
const std::string& Craft::class_name() const { return record_->class_name; }
Module& Craft::module() const { return *record_->module; }
OBJHANDLE Craft::handle() const { return const_cast<VesselRecord*>(record_); }
VESSEL* Craft::object() const { return record_->vessel; }
VESSEL2* Craft::callbacks() const { return record_->callbacks; }

const BodyState& Craft::body() const { return record_->body; }
double Craft::mass() const { return record_->mass(); }
double Craft::empty_mass() const { return record_->empty_mass; }
double Craft::propellant_mass() const { return record_->propellant_mass(); }
VECTOR3 Craft::pmi() const { return record_->pmi; }
double Craft::size() const { return record_->size; }
VECTOR3 Craft::camera_offset() const { return record_->camera_offset; }
bool Craft::transponder() const { return record_->transponder; }
DWORD Craft::transponder_channel() const { return record_->transponder_channel; }

std::vector<TankView> Craft::tanks() const
{
    std::vector<TankView> out;
    for (const Propellant& p : record_->propellants) out.push_back({p.capacity, p.mass, p.efficiency});
    return out;
}

int Craft::default_tank() const { return IndexIn(record_->propellants, record_->default_propellant); }

std::vector<ThrusterView> Craft::thrusters() const
{
    std::vector<ThrusterView> out;
    for (const Thruster& t : record_->thrusters) {
        ThrusterView v;
        v.pos = t.pos;
        v.dir = t.dir;
        v.max_thrust = t.max_thrust;
        v.tank = IndexIn(record_->propellants, t.resource);
        v.isp_vacuum = t.isp_vacuum;
        v.isp_ref = t.isp_ref;
        v.p_ref = t.p_ref;
        v.exhaust_speed = exhaust_speed(t);
        v.level = t.level();
        out.push_back(v);
    }
    return out;
}

std::vector<double> Craft::thruster_levels() const
{
    std::vector<double> out;
    for (const Thruster& t : record_->thrusters) out.push_back(t.level());
    return out;
}

std::vector<GroupView> Craft::groups() const
{
    std::vector<GroupView> out;
    for (const ThrusterGroup& g : record_->groups) {
        GroupView v;
        v.type = g.type;
        for (const Thruster* t : g.members) v.thrusters.push_back(IndexIn(record_->thrusters, t));
        out.push_back(std::move(v));
    }
    return out;
}

bool Craft::has_group(THGROUP_TYPE type) const { return sim::has_group(*record_, type); }

std::vector<ExhaustView> Craft::exhausts() const
{
    std::vector<ExhaustView> out;
    for (const Exhaust& e : record_->exhausts)
        out.push_back({IndexIn(record_->thrusters, e.thruster), e.length, e.width, e.pos, e.dir, e.texture});
    return out;
}

std::vector<DockView> Craft::docks() const
{
    std::vector<DockView> out;
    for (const auto& d : record_->docks) out.push_back(*d);
    return out;
}

std::vector<AttachmentView> Craft::attachments() const
{
    std::vector<AttachmentView> out;
    for (const auto& a : record_->attachments) out.push_back(*a);
    return out;
}

const std::vector<MeshEntry>& Craft::meshes() const { return record_->meshes; }

std::vector<ComponentView> Craft::components() const
{
    std::vector<ComponentView> out;
    for (const auto& c : record_->components)
        out.push_back(
            {c->state0, c->state1, c->transform, c->type, ComponentIndex(*record_, c->parent), c->groups_as_given,
             c->added_in ? c->added_in : ""});
    return out;
}

std::vector<AnimationView> Craft::animations() const
{
    std::vector<AnimationView> out;
    for (const Animation& a : record_->animations) {
        AnimationView v{a.initial_state, a.state, {}};
        for (const AnimationComponent* c : a.components) v.components.push_back(ComponentIndex(*record_, c));
        out.push_back(std::move(v));
    }
    return out;
}

std::vector<double> Craft::animation_states() const
{
    std::vector<double> out;
    for (const Animation& a : record_->animations) out.push_back(a.state);
    return out;
}

std::vector<BeaconView> Craft::beacons() const { return read_beacons(*record_); }
std::vector<bool> Craft::beacons_lit() const { return sim::beacons_lit(*record_); }

Pose Craft::group_pose(UINT mesh, UINT group) const { return sim::group_pose(*record_, mesh, group); }

Pose Craft::group_pose(UINT mesh, UINT group, const std::vector<double>& states) const
{
    return sim::group_pose(*record_, mesh, group, &states);
}

}  // namespace sim
