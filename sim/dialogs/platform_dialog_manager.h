// The dialog manager of the platform the host is built for.
#pragma once

#include <memory>

#include "sim/dialogs.h"

namespace sim {

class Host;

// The manager of `host`'s dialogs; the host outlives it.
std::unique_ptr<DialogManager> make_dialog_manager(const Host& host);

}  // namespace sim
