// The files the host library is writing (a scenario being saved goes to a
// temporary beside its target until it is whole). The library keeps its own
// list of them, apart from any list the program keeps of its own files.
#pragma once

namespace sim {

// Removes every temporary the library has not yet put in place, for a
// program about to end at once on a signal: call it from the handler,
// beside the program's own cleanup. Async-signal-safe; a save under way is
// of no use afterwards.
void remove_host_temporaries() noexcept;

}  // namespace sim
