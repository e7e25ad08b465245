// A beacon light of a craft as the host draws it.
#pragma once

#include <vector>

#include "host/host_types.h"

namespace sim {

struct BeaconView {
    DWORD shape = 0;
    bool lit = false;  // next to the shape, so that a view packs into 96 bytes
    VECTOR3 pos{}, col{};
    double size = 0, falloff = 0, period = 0, duration = 0, tofs = 0;
};

}  // namespace sim
