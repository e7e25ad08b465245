#include "sim/vessel_record.h"

#include <unordered_set>

namespace sim {

namespace {
std::unordered_set<const VesselRecord*>& Live()
{
    static std::unordered_set<const VesselRecord*> records;
    return records;
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
    for (MGROUP_TRANSFORM* t : transforms)
        if (t->Type() == MGROUP_TRANSFORM::ROTATE) delete static_cast<MGROUP_ROTATE*>(t);
}

double VesselRecord::propellant_mass() const
{
    double m = 0;
    for (const Propellant& p : propellants) m += p.mass;
    return m;
}

ThrusterGroup* VesselRecord::group_of_type(THGROUP_TYPE type)
{
    for (ThrusterGroup& g : groups)
        if (g.type == type) return &g;
    return nullptr;
}

VesselRecord* live_record(OBJHANDLE handle) noexcept
{
    VesselRecord* r = static_cast<VesselRecord*>(handle);
    return Live().count(r) ? r : nullptr;
}

}  // namespace sim
