// Where an animation puts the mesh groups of a craft, as a renderer would
// place them.
//
// A mesh is modelled at its animation's initial state, so there every
// transform is the identity. A rotation component turns its groups by
//   angle * (f(state) - f(initial state)),  f(s) = clamp((s - state0) / (state1 - state0), 0, 1)
// about the axis through its reference point. A component with a parent is
// turned about its own hinge first, then carried along by the parent's pose.
#pragma once

#include "sim/vessel_record.h"

namespace sim {

// p' = rot * p + offset, in the craft's frame.
struct Pose {
    double rot[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    VECTOR3 offset{};
};

VECTOR3 apply(const Pose& pose, const VECTOR3& p);
// outer after inner.
Pose compose(const Pose& outer, const Pose& inner);

// The component's travel at an animation state, 0 to 1.
double component_fraction(const AnimationComponent& c, double state);

// The component's pose with its parent chain at the animations' current
// states. Identity for a component that belongs to no animation (the host
// answered its creation with null) and for transforms other than rotations.
Pose component_pose(const VesselRecord& vessel, const AnimationComponent& c);

// Where group `group` of mesh `mesh` stands now: the pose of every component
// that moves it, in the order they were added; identity when none does.
Pose group_pose(const VesselRecord& vessel, UINT mesh, UINT group);

}  // namespace sim
