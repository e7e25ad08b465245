// The checks, each in the file of its concern; table.cpp lists them.
#pragma once

#include "check.h"

namespace validate {

void check_exports(const CheckContext&, Findings&);
void check_unload_cycles(const CheckContext&, Findings&);
void check_unload_memory(const CheckContext&, Findings&);
void check_craft_churn(const CheckContext&, Findings&);
void check_dialog_owner_gone(const CheckContext&, Findings&);
void check_class_definition(const CheckContext&, Findings&);
void check_hostile_scenario(const CheckContext&, Findings&);
void check_hostile_keys(const CheckContext&, Findings&);
void check_hostile_dialog(const CheckContext&, Findings&);
void check_save_load_save(const CheckContext&, Findings&);
void check_restore(const CheckContext&, Findings&);
void check_isolation(const CheckContext&, Findings&);
void check_determinism(const CheckContext&, Findings&);
void check_callback_timing(const CheckContext&, Findings&);
void check_suspicious_use(const CheckContext&, Findings&);
void check_long_flight(const CheckContext&, Findings&);

// How many numbered trials the checks made of them run at a level.
inline int hostile_blocks(int level) { return 25 * level; }
inline int restore_sessions(int level) { return 1 + level / 3; }
inline int isolation_trials(int level) { return 1 + level / 3; }
// Past what a 16-bit count of steps holds from level 5 on.
inline int long_flight_steps(int level) { return 8000 * level; }

// The time, in seconds, a callback may take at a level: its median, its longest.
double median_budget(int level);
double max_budget(int level);

}  // namespace validate
