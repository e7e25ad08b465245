// The beacon lights of a craft as the host draws them: read through the
// addresses the module registered, every time they are asked for.
#pragma once

#include <vector>

#include "host/host_types.h"

namespace sim {

struct VesselRecord;

struct BeaconView {
    DWORD shape = 0;
    bool lit = false;  // next to the shape, so that a view packs into 96 bytes
    VECTOR3 pos{}, col{};
    double size = 0, falloff = 0, period = 0, duration = 0, tofs = 0;
};

std::vector<BeaconView> read_beacons(const VesselRecord& vessel);
// The same into `into`, reusing its memory: no allocation when it has room.
void read_beacons(const VesselRecord& vessel, std::vector<BeaconView>& into);
// One flag per registered beacon, in registration order.
std::vector<bool> beacons_lit(const VesselRecord& vessel);

}  // namespace sim
