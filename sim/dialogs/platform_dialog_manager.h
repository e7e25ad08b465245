// The dialog manager of the platform the host is built for.
#pragma once

#include <functional>
#include <memory>

#include "sim/dialogs.h"
#include "sim/module.h"

namespace sim {

// The loaded module of an instance handle, or null: where a dialog's
// template is found.
using ModuleOf = std::function<const Module*(HINSTANCE)>;

// A dialog manager reporting to `faults`, which outlives it.
std::unique_ptr<DialogManager> make_dialog_manager(ModuleOf module_of, ModuleFaults& faults);

}  // namespace sim
