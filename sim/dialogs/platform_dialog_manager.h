// The dialog manager of the platform the host is built for.
#pragma once

#include <memory>

#include "sim/dialogs.h"

namespace sim {

class Host;

// The manager of `host`'s dialogs, reporting to `faults`; both outlive it.
std::unique_ptr<DialogManager> make_dialog_manager(const Host& host, ModuleFaults& faults);

}  // namespace sim
