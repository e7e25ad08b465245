// The host's vessel interface: VESSEL, through which a module drives the
// host's record of one craft, and VESSEL2, the callbacks the host makes.
#pragma once

#include "host_types.h"
#include "keycodes.h"

// None of these throws: a call the host cannot honour (a handle it never
// gave, an unknown animation, a number or vector component that is not
// finite) is noted as the module's fault and answered harmlessly: the call
// changes nothing and answers null, 0 or false.
class HOSTAPI VESSEL {
public:
    // `hVessel` is the host's handle of the craft as passed to ovcInit; the
    // host keeps its record until after the module's ovcExit for this object.
    VESSEL(OBJHANDLE hVessel, int fmodel = 1) noexcept;
    OBJHANDLE GetHandle() const noexcept;

    void SetSize(double size) const noexcept;
    void SetEmptyMass(double mass) const noexcept;
    void SetPMI(const VECTOR3& pmi) const noexcept;
    void SetCameraOffset(const VECTOR3& offset) const noexcept;

    // mass < 0 means "start full"; the handle lives as long as the vessel.
    PROPELLANT_HANDLE CreatePropellantResource(double maxmass, double mass = -1.0, double efficiency = 1.0) const noexcept;
    void SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const noexcept;
    void SetFuelMass(double mass) const noexcept;

    // `id` is copied; the vectors are copied.
    ATTACHMENTHANDLE CreateAttachment(bool toparent, const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot,
                                      const char* id, bool loose = false) const noexcept;
    THRUSTER_HANDLE CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0, PROPELLANT_HANDLE hp,
                                   double isp0, double isp_ref = 0.0, double p_ref = 101.4e3) const noexcept;
    // The member list is copied; the array need not outlive the call.
    THGROUP_HANDLE CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE type) const noexcept;
    // `tex` is a host surface or null; nothing is kept of the module's memory.
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                    SURFHANDLE tex = nullptr) const noexcept;
    DOCKHANDLE CreateDock(const VECTOR3& pos, const VECTOR3& dir, const VECTOR3& rot) const noexcept;
    bool EnableTransponder(bool enable) const noexcept;
    bool SetTransponderChannel(DWORD ch) const noexcept;

    // `meshname` is copied, `ofs` read during the call only (null: no offset).
    UINT AddMesh(const char* meshname, const VECTOR3* ofs = nullptr) const noexcept;
    void SetMeshVisibilityMode(UINT meshidx, WORD mode) const noexcept;

    // An animation's id; the meshes stand as modelled at `initial_state`.
    UINT CreateAnimation(double initial_state) const noexcept;
    // A part of animation `anim`: while its state runs from state0 to state1
    // the transform turns its mesh groups through the transform's whole
    // angle; below state0 and above state1 it holds. With a `parent` (a
    // component of this craft added earlier) the groups also follow every
    // movement of the parent's, as an arm's forearm follows its upper arm.
    // Ownership: `trans` is made with `new MGROUP_ROTATE(...)`; the host owns
    // it from this call on, whatever the call answers (null included), and
    // deletes it as an MGROUP_ROTATE when the craft goes. (A module built
    // in the other C++ ABI of Windows keeps and deletes its own: the host
    // cannot free into its runtime's heap.) The group list `trans->grp`
    // stays the module's and must outlive the craft. Each transform is handed
    // over once: a second time is a fault, answered null.
    ANIMATIONCOMPONENT_HANDLE AddAnimationComponent(UINT anim, double state0, double state1, MGROUP_TRANSFORM* trans,
                                                    ANIMATIONCOMPONENT_HANDLE parent = nullptr) const noexcept;
    // The state an animation's components are drawn at; both are the same
    // call. False for an animation the craft does not have.
    bool SetAnimation(UINT anim, double state) const noexcept;
    bool SetAnimState(UINT anim, double state) const noexcept;

    // The host keeps `bs` and reads the record through it every frame, so it
    // must stay in place until the vessel is destroyed; a change of its
    // `active` flag (or any field) shows from the next frame on.
    void AddBeacon(BEACONLIGHTSPEC* bs) const noexcept;

    // Places a line of the host's own (POS, VEL, ATT, AROT, PROPELLANT, ...).
    // `line` is read during the call only; `status` is the host's, passed
    // through. A line of the module's own that it cannot read (a number
    // missing or out of range) goes here too: the host then reports it,
    // with the file and line, as a line nobody could place, and the
    // scenario does not load. A module does not guess a value for it.
    void ParseScenarioLineEx(char* line, void* status) const noexcept;
    // Writes the host's own lines of this vessel into the scenario `scn`.
    void SaveDefaultState(FILEHANDLE scn) const noexcept;

protected:
    ~VESSEL();

private:
    OBJHANDLE vessel_handle;  // the host's record; outlives this object
    // Part of the layout modules build against; this host flies every craft alike.
    [[maybe_unused]] int flight_model;
};

// The callbacks the host makes on a vessel. Every slot has a default that
// does nothing; a module overrides what it needs. The order of the virtual
// functions is part of the interface: do not reorder or insert.
//
// When this host makes each call, in the order a craft meets them:
//  0 clbkDefineClass    right after ovcInit; `cfg` is null (no class file).
//  2 clbkReadScenario   when the craft comes from a scenario: right after
//                       its clbkDefineClass, before the next craft is made.
//  4 clbkPostCreation   once, after clbkDefineClass, before any step; for
//                       a scenario once every craft of it has read its
//                       block, in the scenario's order: the place to apply
//                       what the scenario set.
//  5 clbkFocusChanged   when the focus moves: first on the craft that loses
//                       it (getfocus false), then on the one that gets it
//                       (true); both are passed the new and the old craft.
//                       The first craft made or loaded while no craft has the
//                       focus gets it after its clbkPostCreation, with no old
//                       craft (null). When the focus craft is destroyed, the
//                       focus moves first to the earliest craft left, if any.
//  9 clbkVisualCreated  when a view starts drawing the craft; `vis` stays
//                       valid until clbkVisualDestroyed; `refcount` is 1.
// 10 clbkVisualDestroyed when that view stops, and before ovcExit if a
//                       view still draws the craft.
// Each step, in this order, each call for every craft in the order made:
// 19 clbkConsumeDirectKey the focus craft only, while any key is held, with
//                       the 256-byte keyboard state (read during the call).
//  6 clbkPreStep        simt and simdt of the step to come; mjd is 0.
//  7 clbkAfterStep      simt at the step's end.
// 18 clbkAnimate        simt at the step's end, after every clbkAfterStep and
//                       before anything is drawn or saved; also before each
//                       frame a view draws between steps.
// Outside steps:
// 20 clbkKeyPress       for each key event (keycodes.h).
//  1 clbkWriteScenario  when the host saves; the module writes its lines
//                       and SaveDefaultState the host's.
// Never called by this host, which has no such occasion: 3 clbkSetStateEx
// (no craft is made from a state while flying), 8 clbkPlaybackEvent (no
// recorded flights), 11 clbkDrawHUD, 12 clbkRCSMode, 13 clbkADCtrlMode,
// 14 clbkHUDMode, 15 clbkMFDMode, 16 clbkNavMode (no cockpit, HUD, MFD or
// autopilot), 17 clbkDockEvent (craft never dock), 21 clbkLoadGenericCockpit,
// 22-24 the panel slots, 25-27 the virtual-cockpit slots.
class HOSTAPI VESSEL2 : public VESSEL {
public:
    VESSEL2(OBJHANDLE hVessel, int fmodel = 1) noexcept;

    virtual void clbkDefineClass(FILEHANDLE cfg);                                        // 0
    virtual void clbkWriteScenario(FILEHANDLE scn);                                      // 1
    virtual void clbkReadScenario(FILEHANDLE scn, void* status);                         // 2
    virtual void clbkSetStateEx(const void* status);                                     // 3
    virtual void clbkPostCreation();                                                     // 4
    virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOld);  // 5
    virtual void clbkPreStep(double simt, double simdt, double mjd);                     // 6
    virtual void clbkAfterStep(double simt, double simdt, double mjd);                   // 7
    virtual bool clbkPlaybackEvent(double simt, double event_t, const char* type, const char* event);  // 8
    virtual void clbkVisualCreated(VISHANDLE vis, int refcount);                         // 9
    virtual void clbkVisualDestroyed(VISHANDLE vis, int refcount);                       // 10
    virtual void clbkDrawHUD(int mode, const void* hps, void* hdc);                      // 11
    virtual void clbkRCSMode(int mode);                                                  // 12
    virtual void clbkADCtrlMode(DWORD mode);                                             // 13
    virtual void clbkHUDMode(int mode);                                                  // 14
    virtual void clbkMFDMode(int mfd, int mode);                                         // 15
    virtual void clbkNavMode(int mode, bool active);                                     // 16
    virtual void clbkDockEvent(int dock, OBJHANDLE mate);                                // 17
    virtual void clbkAnimate(double simt);                                               // 18
    virtual int clbkConsumeDirectKey(char* kstate);                                      // 19
    // `key` and `kstate` as in keycodes.h; `kstate` is 256 bytes, read
    // during the call only. Returns 1 if consumed.
    virtual int clbkKeyPress(DWORD key, bool down, char* kstate);                        // 20
    virtual bool clbkLoadGenericCockpit();                                               // 21
    virtual bool clbkLoadPanel(int id);                                                  // 22
    virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my);                 // 23
    virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf);               // 24
    virtual bool clbkLoadVC(int id);                                                     // 25
    virtual bool clbkVCMouseEvent(int id, int event, VECTOR3& p);                        // 26
    virtual bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf);                  // 27

protected:
    ~VESSEL2();
};

// The host's handle and the flight model; VESSEL2 adds only its table pointer.
static_assert(sizeof(VESSEL) == host_layout::w(16, 8));
static_assert(sizeof(VESSEL2) == host_layout::w(24, 12));

// What a module exports (DLLCLBK): the host finds them by these names.
// Required: InitModule, ovcInit, ovcExit; the others are optional.
//
// Once, after the library is loaded, with the library's own handle.
DLLCLBK void InitModule(HINSTANCE hModule);
// Makes the object of one craft for the host's handle `hVessel`; the host
// then calls clbkDefineClass. `flightmodel` is passed on to VESSEL.
DLLCLBK VESSEL* ovcInit(OBJHANDLE hVessel, int flightmodel);
// Destroys an object ovcInit made (close its dialogs there: see oapi.h).
DLLCLBK void ovcExit(VESSEL* vessel);
// Once, before the library is unloaded; a module exports one name or none.
DLLCLBK void ExitModule(HINSTANCE hModule);
DLLCLBK void opcDLLExit(HINSTANCE hModule);
// The module's build date as "Mmm dd yyyy" (what __DATE__ gives); the text
// must stay valid while the library is loaded.
DLLCLBK const char* ModuleDate();
// A number the module's author raises with each release.
DLLCLBK int GetModuleVersion();
