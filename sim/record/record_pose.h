// Where an animation puts the mesh groups of a craft.
//
// A mesh is modelled at its animation's initial state, so there every
// transform is the identity. A rotation component turns its groups by
//   angle * (f(state) - f(initial state)),  f(s) = clamp((s - state0) / (state1 - state0), 0, 1)
// about the axis through its reference point. A component with a parent is
// turned about its own hinge first, then carried along by the parent's pose.
#pragma once

#include "record/vessel_record.h"
#include "sim/animation_pose.h"

namespace sim {

// The component's travel at an animation state, 0 to 1.
double component_fraction(const AnimationComponent& c, double state);

// The animations' states a pose is taken at: one per animation, in order;
// null for the states they have now.
using AnimationStates = const std::vector<double>*;

// The component's pose with its parent chain. Identity for a component that
// belongs to no animation (the host answered its creation with null) and
// for transforms other than rotations.
Pose component_pose(const VesselRecord& vessel, const AnimationComponent& c, AnimationStates states = nullptr);

// Where group `group` of mesh `mesh` stands: the pose of every component
// that moves it, in the order they were added; identity when none does.
Pose group_pose(const VesselRecord& vessel, UINT mesh, UINT group, AnimationStates states = nullptr);

}  // namespace sim
