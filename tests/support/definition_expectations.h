// What one class definition of Mervex must leave in the host's record. Shared
// by the native tests and those run under Wine, so both check the same thing.
#pragma once

#include <vector>

#include "sim/craft.h"

// Adds a gtest failure for every value of the craft that differs.
void ExpectMervexDefinition(const sim::Craft& r);

// The net force and torque, about the craft's centre of mass, of a group's
// thrusters at full thrust.
void GroupForceTorque(const sim::GroupView& g, const std::vector<sim::ThrusterView>& thrusters, VECTOR3& force,
                      VECTOR3& torque);
