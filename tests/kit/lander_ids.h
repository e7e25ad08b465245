// The resource ids of Lander's script.
#define IDD_LANDER 101
#define IDC_GEAR 1001
#define IDB_GEAR 201
