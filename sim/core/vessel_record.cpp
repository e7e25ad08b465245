#include "sim/vessel_record.h"

namespace sim {

VesselRecord::VesselRecord(std::string name_, std::string class_name_, Module* module_)
    : name(std::move(name_)), class_name(std::move(class_name_)), module(module_)
{
}

VesselRecord::~VesselRecord()
{
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

VesselRecord& record_of(OBJHANDLE handle) { return *static_cast<VesselRecord*>(handle); }

}  // namespace sim
