#pragma once

#include "sim/dialogs.h"

namespace sim {
// Fills in caption, size and controls from the dialog template among the
// resources of the dialog's module; leaves them empty when there is none.
void load_dialog_template(Dialog& dialog);
}
