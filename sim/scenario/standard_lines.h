// The host's own lines of a craft's scenario block: its state vector and
// the propellant in each tank. The module's lines follow them.
#pragma once

#include "scenario/scenario_block.h"
#include "record/vessel_record.h"

namespace sim {

// Places one line the craft's module passed on to the host. A line the host
// does not know, or whose values it cannot take, changes nothing and is
// reported to `status` when there is one.
void read_standard_line(VesselRecord& vessel, const char* line, ParseStatus* status);
void write_standard_lines(const VesselRecord& vessel, ScenarioBlock& block);

}  // namespace sim
