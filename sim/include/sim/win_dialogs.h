// The stand-in host's dialogs on Windows: real modeless windows that the
// system's dialog manager builds from the module's own template. The host
// interface's dialog functions (oapi.h) open and close them; these are the
// host's side of it.
#pragma once

#if defined(_WIN32)
#include <cstddef>

#include "host/win_compat.h"

namespace sim::win {

// Dispatches every queued message; dialog keys go through IsDialogMessage.
void pump_messages();
// Destroys every open dialog, most recent first, before a module goes away.
void close_all_dialogs();
std::size_t open_dialog_count();

}  // namespace sim::win
#endif
