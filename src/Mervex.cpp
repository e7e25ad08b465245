// The vessel object's life and its per-step update.
#include "Mervex.h"

#include "oapi.h"
#include "resource.h"

// Every field gets its first value in clbkDefineClass, which the host calls
// before anything else reads them.
Mervex::Mervex(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

// The control dialog holds the craft that opened it; a dialog left open after
// its craft is gone would send its buttons into freed memory, so it goes too.
Mervex::~Mervex()
{
    HWND hDlg = oapiFindDialog(module_instance, IDD_CONTROLS);
    if (hDlg && oapiGetDialogContext(hDlg) == this) oapiCloseDialog(hDlg);
}

// Commands from keys, dialog and scenario only set flags; they take effect here.
void Mervex::clbkAfterStep(double, double, double)
{
    AutoOpenControlDialog();
    UpdateDeployButton();
    StepArrays();
    SyncNavLights();
}
