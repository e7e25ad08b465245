// A placement of a mesh group in the craft's frame: how an animation puts a
// group, as a renderer would place it (Craft::group_pose).
#pragma once

#include "host/host_types.h"

namespace sim {

// p' = rot * p + offset, in the craft's frame.
struct Pose {
    double rot[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    VECTOR3 offset{};
};

VECTOR3 apply(const Pose& pose, const VECTOR3& p);
// outer after inner.
Pose compose(const Pose& outer, const Pose& inner);

}  // namespace sim
