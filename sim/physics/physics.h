// Free-space flight of one craft: no gravity, no atmosphere. Each craft is a
// rigid body with its centre of mass at the frame origin and a diagonal
// inertia of PMI x mass; its thrusters push at their levels and draw on
// their propellant resources.
#pragma once

#include "record/thrusters.h"
#include "record/vessel_record.h"

namespace sim {

// Advances vessel.body and the propellant masses by dt seconds.
//
// Within a step the thrust and the attitude used for it are constant, so the
// velocity change is integrated exactly over the falling mass:
//   dv = (F / mdot) * ln(m0 / m1)
// which makes a burn obey the rocket equation whatever the step length. A
// resource that cannot feed the whole step is emptied and the thrust of its
// thrusters scaled to what it could give. Position follows the new velocity
// (semi-implicit); angular velocity follows Euler's equations with the
// inertia at the step's start and the step's torque (spin() in rotation.h);
// the attitude turns by the mean of the step's first and last angular
// velocities and is renormalised. Only the lit thrusters are visited, in the order the
// craft created them.
void integrate(VesselRecord& vessel, double dt);

// The first quantity of the craft's state that is not a finite number, as
// a person reads it ("angular velocity (AROT)"), or null when all are.
const char* non_finite_quantity(const VesselRecord& vessel);

}  // namespace sim
