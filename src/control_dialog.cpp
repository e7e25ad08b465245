// The control dialog: one window for the whole module, found by the module's
// instance handle and IDD_CONTROLS; its buttons act on the craft that opened it.
#include "Mervex.h"
#include "oapi.h"
#include "resource.h"

namespace {
const DWORD dialog_flags = 2;
}

void Mervex::OpenControlDialog()
{
    oapiOpenDialogEx(module_instance, IDD_CONTROLS, ControlDlgProc, dialog_flags, this);
}

// Once per object, when the scenario asked for it; a failed opening is not retried.
void Mervex::AutoOpenControlDialog()
{
    if (dialog_opened || !dialog_requested) return;
    OpenControlDialog();
    dialog_opened = true;
}

// Runs before the arrays move, so the button lags the arrays by one step.
void Mervex::UpdateDeployButton()
{
    HWND hDlg = oapiFindDialog(module_instance, IDD_CONTROLS);
    if (!hDlg) return;
    EnableWindow(GetDlgItem(hDlg, IDC_DEPLOY), array_state > 0 ? TRUE : FALSE);
}

INT_PTR CALLBACK ControlDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_DESTROY:
    case WM_TIMER:
        return 0;
    case WM_COMMAND:
        // The notification code in the high word does not matter: any command
        // carrying a button's id counts as a press.
        switch (LOWORD(wParam)) {
        case IDCANCEL:
            oapiCloseDialog(hDlg);
            return 1;
        case IDC_DEPLOY:
            static_cast<Mervex*>(oapiGetDialogContext(hDlg))->deploy_cmd = true;
            return 0;
        case IDC_NAVLIGHTS: {
            Mervex* vessel = static_cast<Mervex*>(oapiGetDialogContext(hDlg));
            vessel->navlights_cmd = !vessel->navlights_cmd;
            return 0;
        }
        default:
            break;
        }
        break;
    default:
        break;
    }
    return oapiDefDialogProc(hDlg, msg, wParam, lParam);
}
