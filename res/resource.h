// Resource ids shared by the module's code and its resource script.
#pragma once

#define IDB_PANEL 107
#define IDD_CONTROLS 108
#define IDC_PICTURE 1001
#define IDC_DEPLOY 1003
#define IDC_NAVLIGHTS 1004
