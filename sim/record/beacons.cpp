#include "record/vessel_record.h"

namespace sim {

std::vector<BeaconView> read_beacons(const VesselRecord& vessel)
{
    std::vector<BeaconView> out;
    read_beacons(vessel, out);
    return out;
}

void read_beacons(const VesselRecord& vessel, std::vector<BeaconView>& into)
{
    into.resize(vessel.beacons.size());
    for (size_t i = 0; i < into.size(); ++i) {
        const BEACONLIGHTSPEC* b = vessel.beacons[i];
        BeaconView& v = into[i];
        v.shape = b->shape;
        v.pos = b->pos ? *b->pos : VECTOR3{};
        v.col = b->col ? *b->col : VECTOR3{};
        v.size = b->size;
        v.falloff = b->falloff;
        v.period = b->period;
        v.duration = b->duration;
        v.tofs = b->tofs;
        v.lit = b->active;
    }
}

std::vector<bool> beacons_lit(const VesselRecord& vessel)
{
    std::vector<bool> lit;
    for (const BEACONLIGHTSPEC* b : vessel.beacons) lit.push_back(b->active);
    return lit;
}

}  // namespace sim
