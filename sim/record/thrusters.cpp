#include "record/thrusters.h"

namespace sim {

void shut_down_thrusters(VesselRecord& vessel)
{
    for (Thruster& t : vessel.thrusters) vessel.set_level(t, 0);
}

bool has_group(const VesselRecord& vessel, THGROUP_TYPE type)
{
    for (const ThrusterGroup& g : vessel.groups)
        if (g.type == type) return true;
    return false;
}

bool set_group_level(VesselRecord& vessel, THGROUP_TYPE type, double level)
{
    bool found = false;
    for (const ThrusterGroup& g : vessel.groups) {
        if (g.type != type) continue;
        found = true;
        for (Thruster* t : g.members)
            if (t) vessel.set_level(*t, level);
    }
    return found;
}

}  // namespace sim
