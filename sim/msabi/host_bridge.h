// The bridge between the host's face in the Microsoft C++ ABI and the host
// itself, built by MinGW in GCC's ABI. Both sides compile this header: the
// face (face.cpp) defines the interface's members in the vendor ABI and calls
// these plain C functions, which the host defines (bridge.cpp); the host
// calls a vendor-ABI module's callbacks through the table the face fills.
// Only pointers, numbers and the records laid out alike in both ABIs
// (host/host_types.h) cross it.
#pragma once

#include "host/host_types.h"

// A parenthesised list, opened; and opened after a comma when not empty.
#define MSABI_OPEN(...) __VA_ARGS__
#define MSABI_AFTER(...) __VA_OPT__(, ) __VA_ARGS__

// VESSEL's members that the host serves: (result, name, (parameters), (arguments)).
// The constructor, GetHandle and AddAnimationComponent are the face's own.
#define MSABI_VESSEL_MEMBERS(X)                                                                                    \
    X(void, SetSize, (double size), (size))                                                                        \
    X(void, SetEmptyMass, (double mass), (mass))                                                                   \
    X(void, SetPMI, (const VECTOR3& pmi), (pmi))                                                                   \
    X(void, SetCameraOffset, (const VECTOR3& offset), (offset))                                                    \
    X(PROPELLANT_HANDLE, CreatePropellantResource, (double maxmass, double mass, double efficiency),              \
      (maxmass, mass, efficiency))                                                                                 \
    X(void, SetDefaultPropellantResource, (PROPELLANT_HANDLE ph), (ph))                                            \
    X(void, SetFuelMass, (double mass), (mass))                                                                    \
    X(ATTACHMENTHANDLE, CreateAttachment,                                                                          \
      (bool toparent, const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot, const char* id, bool loose),     \
      (toparent, pos, dir, rot, id, loose))                                                                        \
    X(THRUSTER_HANDLE, CreateThruster,                                                                             \
      (const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp, double isp0, double isp_ref,  \
       double p_ref),                                                                                              \
      (pos, dir, maxth0, hp, isp0, isp_ref, p_ref))                                                                \
    X(THGROUP_HANDLE, CreateThrusterGroup, (THRUSTER_HANDLE * th, int nth, THGROUP_TYPE type), (th, nth, type))    \
    X(UINT, AddExhaust,                                                                                            \
      (THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir, SURFHANDLE tex),  \
      (th, lscale, wscale, pos, dir, tex))                                                                         \
    X(DOCKHANDLE, CreateDock, (const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot), (pos, dir, rot))       \
    X(bool, EnableTransponder, (bool enable), (enable))                                                            \
    X(bool, SetTransponderChannel, (DWORD ch), (ch))                                                               \
    X(UINT, AddMesh, (const char* meshname, const VECTOR3* ofs), (meshname, ofs))                                  \
    X(void, SetMeshVisibilityMode, (UINT meshidx, WORD mode), (meshidx, mode))                                     \
    X(UINT, CreateAnimation, (double initial_state), (initial_state))                                              \
    X(bool, SetAnimation, (UINT anim, double state), (anim, state))                                                \
    X(bool, SetAnimState, (UINT anim, double state), (anim, state))                                                \
    X(void, AddBeacon, (BEACONLIGHTSPEC * bs), (bs))                                                               \
    X(void, ParseScenarioLineEx, (char* line, void* status), (line, status))                                       \
    X(void, SaveDefaultState, (FILEHANDLE scn), (scn))

// The host's free functions, in the same form.
#define MSABI_HOST_FUNCTIONS(X)                                                                                    \
    X(void, InitLib, (HINSTANCE hModule), (hModule))                                                               \
    X(int, Date2Int, (const char* date), (date))                                                                   \
    X(double, oapiGetSimStep, (), ())                                                                              \
    X(bool, oapiReadScenario_nextline, (FILEHANDLE scn, char*& line), (scn, line))                                 \
    X(void, oapiWriteScenario_string, (FILEHANDLE scn, const char* item, const char* value), (scn, item, value))   \
    X(void, oapiWriteScenario_float, (FILEHANDLE scn, const char* item, double value), (scn, item, value))         \
    X(HWND, oapiOpenDialogEx, (HINSTANCE hInst, int resid, DLGPROC proc, DWORD flags, void* context),              \
      (hInst, resid, proc, flags, context))                                                                        \
    X(HWND, oapiFindDialog, (HINSTANCE hInst, int resid), (hInst, resid))                                          \
    X(void, oapiCloseDialog, (HWND hDlg), (hDlg))                                                                  \
    X(void*, oapiGetDialogContext, (HWND hDlg), (hDlg))                                                            \
    X(INT_PTR, oapiDefDialogProc, (HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam), (hDlg, msg, wParam, lParam))

// Every callback of VESSEL2, in table order.
#define MSABI_VESSEL2_CALLBACKS(X)                                                                                 \
    X(void, clbkDefineClass, (FILEHANDLE cfg), (cfg))                                                              \
    X(void, clbkWriteScenario, (FILEHANDLE scn), (scn))                                                            \
    X(void, clbkReadScenario, (FILEHANDLE scn, void* status), (scn, status))                                       \
    X(void, clbkSetStateEx, (const void* status), (status))                                                        \
    X(void, clbkPostCreation, (), ())                                                                              \
    X(void, clbkFocusChanged, (bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOld), (getfocus, hNewVessel, hOld)) \
    X(void, clbkPreStep, (double simt, double simdt, double mjd), (simt, simdt, mjd))                              \
    X(void, clbkAfterStep, (double simt, double simdt, double mjd), (simt, simdt, mjd))                            \
    X(bool, clbkPlaybackEvent, (double simt, double event_t, const char* type, const char* event),                 \
      (simt, event_t, type, event))                                                                                \
    X(void, clbkVisualCreated, (VISHANDLE vis, int refcount), (vis, refcount))                                     \
    X(void, clbkVisualDestroyed, (VISHANDLE vis, int refcount), (vis, refcount))                                   \
    X(void, clbkDrawHUD, (int mode, const void* hps, void* hdc), (mode, hps, hdc))                                 \
    X(void, clbkRCSMode, (int mode), (mode))                                                                       \
    X(void, clbkADCtrlMode, (DWORD mode), (mode))                                                                  \
    X(void, clbkHUDMode, (int mode), (mode))                                                                       \
    X(void, clbkMFDMode, (int mfd, int mode), (mfd, mode))                                                         \
    X(void, clbkNavMode, (int mode, bool active), (mode, active))                                                  \
    X(void, clbkDockEvent, (int dock, OBJHANDLE mate), (dock, mate))                                               \
    X(void, clbkAnimate, (double simt), (simt))                                                                    \
    X(int, clbkConsumeDirectKey, (char* kstate), (kstate))                                                         \
    X(int, clbkKeyPress, (DWORD key, bool down, char* kstate), (key, down, kstate))                                \
    X(bool, clbkLoadGenericCockpit, (), ())                                                                        \
    X(bool, clbkLoadPanel, (int id), (id))                                                                         \
    X(bool, clbkPanelMouseEvent, (int id, int event, int mx, int my), (id, event, mx, my))                         \
    X(bool, clbkPanelRedrawEvent, (int id, int event, SURFHANDLE surf), (id, event, surf))                         \
    X(bool, clbkLoadVC, (int id), (id))                                                                            \
    X(bool, clbkVCMouseEvent, (int id, int event, VECTOR3& p), (id, event, p))                                     \
    X(bool, clbkVCRedrawEvent, (int id, int event, SURFHANDLE surf), (id, event, surf))

// A vendor-ABI VESSEL2's callbacks, each called on the module's object.
struct MsabiCallbacks {
#define MSABI_CALLBACK_SLOT(result, name, params, args) result (*name)(void* object MSABI_AFTER params);
    MSABI_VESSEL2_CALLBACKS(MSABI_CALLBACK_SLOT)
#undef MSABI_CALLBACK_SLOT
};

extern "C" {
#define MSABI_MEMBER_BRIDGE(result, name, params, args) \
    result simhost_msabi_##name(const void* vessel MSABI_AFTER params) noexcept;
MSABI_VESSEL_MEMBERS(MSABI_MEMBER_BRIDGE)
#undef MSABI_MEMBER_BRIDGE
#define MSABI_FUNCTION_BRIDGE(result, name, params, args) result simhost_msabi_##name params noexcept;
MSABI_HOST_FUNCTIONS(MSABI_FUNCTION_BRIDGE)
#undef MSABI_FUNCTION_BRIDGE

// `type` is the transform's Type(), read by the face in the module's ABI.
ANIMATIONCOMPONENT_HANDLE simhost_msabi_AddAnimationComponent(const void* vessel, UINT anim, double state0,
                                                              double state1, MGROUP_TRANSFORM* trans,
                                                              MGROUP_TRANSFORM::TYPE type,
                                                              ANIMATIONCOMPONENT_HANDLE parent) noexcept;
// The module's VESSEL2 `object` was built for the craft `hVessel`: the host
// calls its callbacks through `callbacks` until simhost_msabi_vessel2_gone.
void simhost_msabi_vessel2_built(OBJHANDLE hVessel, int fmodel, void* object,
                                 const MsabiCallbacks* callbacks) noexcept;
void simhost_msabi_vessel2_gone(void* object) noexcept;
}
