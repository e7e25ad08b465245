// The turning of a rigid body with a diagonal inertia under a torque that is
// constant in the body frame over a step: Euler's equations
//   I dω/dt = τ − ω × Iω
// integrated by Strang splitting: half the torque's kick, the torque-free
// motion over the whole step by the implicit midpoint rule, the other half
// kick. The midpoint rule keeps the torque-free body's energy ½ω·Iω and its
// angular momentum |Iω| as they were, to rounding, at any step length, where
// an explicit step lets the gyroscopic term grow without bound. A torque
// about a principal axis of a body spinning about it gives the exact ω.
#pragma once

#include "host/host_types.h"

namespace sim {

// ω after dt; not a number when the rate is beyond what the step can
// resolve. An axis with no inertia (≤ 0) keeps its rate and the others take
// the torque's kick alone, without the gyroscopic term.
VECTOR3 spin(const VECTOR3& omega, const VECTOR3& inertia, const VECTOR3& torque, double dt);

// q (w, x, y, z, body to inertial) turned by rate × dt in the body frame and
// renormalised; unchanged for no turn or a turn that is not finite.
void turn(double q[4], const VECTOR3& rate, double dt);

}  // namespace sim
