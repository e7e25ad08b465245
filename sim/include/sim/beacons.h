// The beacon lights of a craft as the host draws them: read through the
// addresses the module registered, every time they are asked for.
#pragma once

#include <vector>

#include "sim/vessel_record.h"

namespace sim {

struct BeaconView {
    DWORD shape = 0;
    VECTOR3 pos{}, col{};
    double size = 0, falloff = 0, period = 0, duration = 0, tofs = 0;
    bool lit = false;
};

std::vector<BeaconView> read_beacons(const VesselRecord& vessel);
// One flag per registered beacon, in registration order.
std::vector<bool> beacons_lit(const VesselRecord& vessel);

}  // namespace sim
