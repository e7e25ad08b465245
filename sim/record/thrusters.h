// A craft's thrusters as its controls set them: levels by group, and what
// a lit thruster burns. They read and write the record alone.
#pragma once

#include "record/vessel_record.h"

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

}  // namespace sim
