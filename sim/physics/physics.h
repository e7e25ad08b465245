// Free-space flight of one craft: no gravity, no atmosphere. Each craft is a
// rigid body with its centre of mass at the frame origin and a diagonal
// inertia of PMI x mass; its thrusters push at their levels and draw on
// their propellant resources.
#pragma once

#include "core/vessel_record.h"

namespace sim {

// The speed at which a thruster's propellant leaves it: its vacuum Isp times
// its tank's efficiency; 0 without a tank. In free space the vacuum Isp
// holds; the reference Isp and pressure would matter only in an atmosphere.
// Inline: the step's loops take it for every lit thruster.
inline double exhaust_speed(const Thruster& t) { return t.resource ? t.isp_vacuum * t.resource->efficiency : 0; }

// Sets every member of each group of `type` to `level`, clamped to 0..1
// (VesselRecord::set_level).
// A thruster in several groups keeps the level of the last call that set it.
// Returns false when the craft has no group of that type.
bool set_group_level(VesselRecord& vessel, THGROUP_TYPE type, double level);
// Every thruster of the craft to level 0.
void shut_down_thrusters(VesselRecord& vessel);
// Whether the craft defined a thruster group of that type.
bool has_group(const VesselRecord& vessel, THGROUP_TYPE type);

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
