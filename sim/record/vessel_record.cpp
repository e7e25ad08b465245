#include "record/vessel_record.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace sim {

namespace {
std::unordered_set<const VesselRecord*>& Live()
{
    static std::unordered_set<const VesselRecord*> records;
    return records;
}

// Every transform some craft holds, so that none is held twice.
std::unordered_set<const MGROUP_TRANSFORM*>& Held()
{
    static std::unordered_set<const MGROUP_TRANSFORM*> transforms;
    return transforms;
}
}  // namespace

VesselRecord::VesselRecord(std::string name_, std::string class_name_, Module* module_)
    : name(std::move(name_)), class_name(std::move(class_name_)), module(module_)
{
    Live().insert(this);
}

VesselRecord::~VesselRecord()
{
    Live().erase(this);
    // Only rotations exist; the base's destructor is not public, so each goes by its own type.
    for (MGROUP_TRANSFORM* t : transforms) {
        Held().erase(t);
        if (t->Type() == MGROUP_TRANSFORM::ROTATE) delete static_cast<MGROUP_ROTATE*>(t);
    }
}

bool VesselRecord::hold_transform(MGROUP_TRANSFORM* transform)
{
    if (!Held().insert(transform).second) return false;
    transforms.push_back(transform);
    return true;
}

ThrusterGroup* VesselRecord::group_of_type(THGROUP_TYPE type)
{
    for (ThrusterGroup& g : groups)
        if (g.type == type) return &g;
    return nullptr;
}

void VesselRecord::set_level(Thruster& thruster, double level)
{
    const double now = std::isfinite(level) ? std::clamp(level, 0.0, 1.0) : 0.0;
    const size_t index = thrusters.index_of(thruster);
    const auto at = std::lower_bound(lit_.begin(), lit_.end(), index,
                                     [](const LitThruster& l, size_t i) { return l.index < i; });
    const bool listed = at != lit_.end() && at->index == index;
    if (listed && now > 0) {
        at->thruster.level_ = now;
    } else if (listed) {
        lit_.erase(at);
    } else if (now > 0 && index < thrusters.size()) {
        LitThruster lit{index, thruster};
        lit.thruster.level_ = now;
        lit_.insert(at, lit);
    }
    thruster.level_ = now;
}

VesselRecord* live_record(OBJHANDLE handle) noexcept
{
    VesselRecord* r = static_cast<VesselRecord*>(handle);
    return Live().count(r) ? r : nullptr;
}

}  // namespace sim
