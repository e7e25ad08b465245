#include "sim/beacons.h"

namespace sim {

std::vector<BeaconView> read_beacons(const VesselRecord& vessel)
{
    std::vector<BeaconView> out;
    for (const BEACONLIGHTSPEC* b : vessel.beacons) {
        BeaconView v;
        v.shape = b->shape;
        if (b->pos) v.pos = *b->pos;
        if (b->col) v.col = *b->col;
        v.size = b->size;
        v.falloff = b->falloff;
        v.period = b->period;
        v.duration = b->duration;
        v.tofs = b->tofs;
        v.lit = b->active;
        out.push_back(v);
    }
    return out;
}

std::vector<bool> beacons_lit(const VesselRecord& vessel)
{
    std::vector<bool> lit;
    for (const BEACONLIGHTSPEC* b : vessel.beacons) lit.push_back(b->active);
    return lit;
}

}  // namespace sim
