// The Mervex vessel: one object per craft of the class.
#pragma once

#include "vessel.h"
#include "module_globals.h"

class Mervex final : public VESSEL2 {
public:
    Mervex(OBJHANDLE hVessel, int flightmodel);
    ~Mervex();

    void clbkDefineClass(FILEHANDLE cfg) override;
    void clbkWriteScenario(FILEHANDLE scn) override;
    void clbkReadScenario(FILEHANDLE scn, void* status) override;
    void clbkAfterStep(double simt, double simdt, double mjd) override;
    int clbkKeyPress(DWORD key, bool down, char* kstate) override;

    void DefineArrayAnimation(UINT meshidx);
    void SetNavLights(bool on);

private:
    // The dialog's buttons act on the craft that opened it.
    friend INT_PTR CALLBACK ControlDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);


    void OpenControlDialog();
    void AutoOpenControlDialog();
    void UpdateDeployButton();
    void StepArrays();
    void RegisterBeacons();
    void SyncNavLights();

    bool deploy_cmd;
    bool navlights_cmd;
    bool refuel_available;
    BEACONLIGHTSPEC beacon[4];  // the host reads these through their addresses
    bool dialog_opened;
    bool dialog_requested;
    short anim_arrays;
    ANIMATIONCOMPONENT_HANDLE array_comp[20];
    float array_state;  // 1 stowed, 0 deployed
    double payload_mass = 0.0;
    THGROUP_HANDLE main_group;
    PROPELLANT_HANDLE propellant_res;
    THRUSTER_HANDLE main_thruster;
    ATTACHMENTHANDLE attach_front_xs;
    ATTACHMENTHANDLE attach_rear_gs;
    ATTACHMENTHANDLE attach_rear_xs;
    THRUSTER_HANDLE group_members[12][4];
};
