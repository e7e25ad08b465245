// What one class definition of Mervex must leave in the host's record. Shared
// by the native tests and those run under Wine, so both check the same thing.
#pragma once

#include "sim/vessel_record.h"

// Adds a gtest failure for every value of the record that differs.
void ExpectMervexDefinition(const sim::VesselRecord& r);
// Net force and torque about the origin of a group at full thrust.
void GroupForceTorque(const sim::ThrusterGroup& g, VECTOR3& force, VECTOR3& torque);
