// The control dialog: its procedure's answers, its DEPLOY button's enabled
// state, its automatic opening, and clicks that arrive after its craft is gone.
#include <gtest/gtest.h>

#include "core/host_access.h"
#include "sim/beacons.h"
#include "support/behaviour_helpers.h"
#include "support/module_fixture.h"
#include "host/oapi.h"

namespace {
using behaviour::LoadOne;

const int deploy_id = 1003, lights_id = 1004;

class DialogTest : public ModuleTest {
protected:
    sim::DialogManager& Dialogs() { return host->dialogs(); }
    HWND Find() { return Dialogs().find(module->instance(), 108); }

    HWND OpenBy(sim::Craft r)
    {
        EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL}), 1);
        HWND h = Find();
        EXPECT_NE(h, nullptr);
        return h;
    }

    // Whether the craft's arrays moved at the next step.
    bool Deploys(sim::Craft r)
    {
        host->log().clear();
        host->step(1);
        for (const sim::HostCall& c : host->log().named("SetAnimation"))
            if (c.craft == r && c.numbers[1] < 1) return true;
        return false;
    }

    bool DeployEnabled() { return IsWindowEnabled(GetDlgItem(Find(), deploy_id)) != FALSE; }

    // The values of this step's EnableWindow calls.
    std::vector<double> Enables()
    {
        std::vector<double> out;
        for (const sim::HostCall& c : host->log().named("EnableWindow")) out.push_back(c.numbers[0]);
        return out;
    }
};

TEST_F(DialogTest, CancelClosesAndAnswersOne)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    EXPECT_EQ(Dialogs().send(h, WM_COMMAND, (7u << 16) | IDCANCEL, 0), 1);
    EXPECT_EQ(Find(), nullptr);
    EXPECT_EQ(host->log().count("oapiCloseDialog"), 1u);
    EXPECT_EQ(host->log().count("oapiDefDialogProc"), 0u);
}

TEST_F(DialogTest, DeployCommandSetsDeploymentWhateverTheNotification)
{
    for (WPARAM high : {0u, 1u, 0x300u, 0xFFFFu}) {
        SCOPED_TRACE(high);
        const sim::Craft r = NewVessel("D" + std::to_string(high));
        HWND h = OpenBy(r);
        EXPECT_EQ(Dialogs().send(h, WM_COMMAND, (high << 16) | deploy_id, 0), 0);
        EXPECT_EQ(Dialogs().send(h, WM_COMMAND, (high << 16) | deploy_id, 0), 0);
        EXPECT_TRUE(Deploys(r));
        EXPECT_EQ(host->log().count("oapiDefDialogProc"), 0u);
        host->destroy_craft(r);
    }
}

TEST_F(DialogTest, LightsButtonToggles)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    host->step(1);
    EXPECT_EQ(Dialogs().send(h, WM_COMMAND, lights_id, 0), 0);
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    Dialogs().send(h, WM_COMMAND, lights_id, 0);
    Dialogs().send(h, WM_COMMAND, (1u << 16) | lights_id, 0);
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    Dialogs().send(h, WM_COMMAND, lights_id, 0);
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, false));
    EXPECT_EQ(host->log().count("oapiDefDialogProc"), 0u);
}

TEST_F(DialogTest, KeyAndLightsButtonSwitchTheSameCommand)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    host->step(1);
    const std::vector<bool> dark(4, false), lit(4, true);
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    Dialogs().send(h, WM_COMMAND, lights_id, 0);
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), dark);
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_RSHIFT});
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), lit);
    Dialogs().send(h, WM_COMMAND, lights_id, 0);
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), dark);
}

TEST_F(DialogTest, EverythingElseGoesToTheDefaultProcedureUnchanged)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    host->log().clear();
    const WPARAM others[] = {0xFFFF, 0, 1, 1001, 1002, 1005, 0x0001FFFF, 0x7FFF};
    for (WPARAM w : others) Dialogs().send(h, WM_COMMAND, w, 0);
    Dialogs().send(h, 0x0200, 0x1234, 7);  // a mouse move
    Dialogs().send(h, 0x0010, 0, 0);       // a close request that is not a command
    const auto calls = host->log().named("oapiDefDialogProc");
    ASSERT_EQ(calls.size(), std::size(others) + 2);
    for (size_t i = 0; i < std::size(others); ++i) {
        EXPECT_EQ(calls[i].numbers[0], double(WM_COMMAND));
        EXPECT_EQ(calls[i].numbers[1], double(others[i]));
    }
    EXPECT_EQ(calls[std::size(others)].numbers, (std::vector<double>{0x0200, 0x1234}));
    EXPECT_NE(Find(), nullptr);
    EXPECT_FALSE(Deploys(r));

    host->log().clear();
    for (UINT msg : {UINT(WM_INITDIALOG), UINT(WM_DESTROY), UINT(WM_TIMER)}) EXPECT_EQ(Dialogs().send(h, msg, 0, 0), 0);
    EXPECT_EQ(host->log().count("oapiDefDialogProc"), 0u);

    // Whatever the default procedure answers goes back unchanged.
    sim::host_access::test_faults()->default_dialog_answer = 0x5A5A;
    EXPECT_EQ(Dialogs().send(h, WM_COMMAND, 1002, 0), 0x5A5A);
    EXPECT_EQ(Dialogs().send(h, 0x0087, 0, 0), 0x5A5A);  // asks which keys the dialog wants
    EXPECT_EQ(host->log().count("oapiDefDialogProc"), 2u);
}

TEST_F(DialogTest, ButtonsClickedAsAUserClicksThem)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    host->step(1);
    EXPECT_TRUE(Dialogs().click(h, lights_id));
    EXPECT_TRUE(Dialogs().click(h, deploy_id));
    EXPECT_TRUE(Deploys(r));
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    EXPECT_TRUE(Dialogs().click(h, IDCANCEL));
    EXPECT_EQ(Find(), nullptr);
}

TEST_F(DialogTest, DeployButtonGreysOutTheStepAfterTheArraysArriveAtZero)
{
    const sim::Craft r = NewVessel();
    OpenBy(r);
    host->key_press(r, OAPI_KEY_K);
    for (int i = 0; i < 3; ++i) {
        host->log().clear();
        host->step(7);
        EXPECT_EQ(Enables(), (std::vector<double>{1})) << "step " << i;
        EXPECT_TRUE(DeployEnabled());
    }
    // The third step brought the arrays to 0; this one sees it.
    host->log().clear();
    host->step(7);
    EXPECT_EQ(Enables(), (std::vector<double>{0}));
    EXPECT_FALSE(DeployEnabled());
    EXPECT_FALSE(Dialogs().click(Find(), deploy_id));
}

TEST_F(DialogTest, DeployButtonFollowsTheLoadedState)
{
    const std::pair<const char*, double> cases[] = {
        {"ARRAYS 1.5", 1}, {"ARRAYS 0.5", 1}, {"ARRAYS 1e-30", 1}, {"ARRAYS 0", 0}, {"ARRAYS -0.2", 0}, {"ARRAYS nan", 0},
        {"ARRAYS inf", 0}, {"ARRAYS 1e39", 0},
    };
    int n = 0;
    for (const auto& [line, enabled] : cases) {
        SCOPED_TRACE(line);
        const sim::Craft r = LoadOne(*host, *module, std::string(line) + "\nDIALOG\n", "V" + std::to_string(++n));
        host->log().clear();
        host->step(1);
        EXPECT_EQ(Enables(), (std::vector<double>{enabled}));
        host->destroy_craft(r);
    }
}

TEST_F(DialogTest, ScenarioOpensTheDialogOnceBeforeTheButtonIsSet)
{
    const sim::Craft r = LoadOne(*host, *module, "DIALOG\n");
    EXPECT_EQ(Find(), nullptr);
    host->log().clear();
    host->step(1);
    const std::vector<std::string> names = host->log().names();
    auto at = [&](const char* n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    ASSERT_EQ(host->log().count("oapiOpenDialogEx"), 1u);
    EXPECT_LT(at("oapiOpenDialogEx"), at("oapiFindDialog"));
    EXPECT_LT(at("oapiFindDialog"), at("EnableWindow"));
    HWND h = Find();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Dialogs().dialog(h)->context, static_cast<void*>(r.callbacks()));
    EXPECT_EQ(Dialogs().dialog(h)->flags, 2u);

    // Closed by the user, it stays closed; the key still opens it.
    Dialogs().send(h, WM_COMMAND, IDCANCEL, 0);
    host->step(1);
    host->step(1);
    EXPECT_EQ(Find(), nullptr);
    EXPECT_EQ(host->log().count("oapiOpenDialogEx"), 1u);
    OpenBy(r);
    host->step(1);
    EXPECT_EQ(host->log().count("oapiOpenDialogEx"), 2u);
}

TEST_F(DialogTest, EachCraftSetsTheSharedButtonFromItsOwnArrays)
{
    const sim::Craft stowed = NewVessel("A");
    LoadOne(*host, *module, "ARRAYS 0\n", "B");
    OpenBy(stowed);
    host->log().clear();
    host->step(1);
    EXPECT_EQ(Enables(), (std::vector<double>{1, 0}));
    EXPECT_FALSE(DeployEnabled());
}

TEST_F(DialogTest, DestroyingTheOpenerClosesTheDialogAndStaleClicksReachNothing)
{
    const sim::Craft r = NewVessel();
    HWND h = OpenBy(r);
    host->destroy_craft(r);
    EXPECT_EQ(Find(), nullptr);
    // Clicks and commands sent to the old window reach no code and no memory.
    EXPECT_FALSE(Dialogs().click(h, deploy_id));
    EXPECT_FALSE(Dialogs().click(h, lights_id));
    EXPECT_FALSE(Dialogs().click(h, IDCANCEL));
    host->log().clear();
    EXPECT_EQ(Dialogs().send(h, WM_COMMAND, deploy_id, 0), 0);
    EXPECT_EQ(Dialogs().send(h, WM_COMMAND, lights_id, 0), 0);
    EXPECT_TRUE(host->log().calls().empty());
    // A new craft opens a new window; the old handle stays dead.
    const sim::Craft next = NewVessel("Mervex-2");
    HWND h2 = OpenBy(next);
    EXPECT_NE(h2, h);
    EXPECT_FALSE(Dialogs().click(h, deploy_id));
    EXPECT_FALSE(Deploys(next));
}

TEST_F(DialogTest, DestroyingAnotherCraftLeavesTheDialogWorking)
{
    const sim::Craft opener = NewVessel("A");
    const sim::Craft other = NewVessel("B");
    HWND h = OpenBy(opener);
    host->key_press(other, OAPI_KEY_SPACE, {OAPI_KEY_RCONTROL});  // brings it forward only
    host->destroy_craft(other);
    ASSERT_EQ(Find(), h);
    host->step(1);
    EXPECT_TRUE(Dialogs().click(h, lights_id));
    EXPECT_TRUE(Dialogs().click(h, deploy_id));
    EXPECT_TRUE(Deploys(opener));
    EXPECT_EQ(opener.beacons_lit(), std::vector<bool>(4, true));
}

}  // namespace
