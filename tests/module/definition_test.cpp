// The class definition as the host receives it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/definition_expectations.h"
#include "support/module_fixture.h"

namespace {
TEST_F(ModuleTest, ClassDefinitionGivesTheHostTheWholeCraft)
{
    ExpectMervexDefinition(NewVessel());
}

// What each group burns at full thrust: its thrusters' rating over the
// exhaust speed they share, whatever their number or direction.
TEST_F(ModuleTest, EachGroupBurnsItsThrustOverTheExhaustSpeed)
{
    const double exhaust_speed = 2344.59;  // m/s
    const double dt = 0.5;
    const sim::Craft craft = NewVessel();
    const std::vector<sim::ThrusterView> thrusters = craft.thrusters();
    for (const sim::GroupView& g : craft.groups()) {
        double rated = 0;
        for (int i : g.thrusters) rated += thrusters.at(static_cast<size_t>(i)).max_thrust;
        host->set_propellant_mass(craft, 0, 500);
        ASSERT_TRUE(host->set_thrust(craft, g.type, 1));
        host->step(dt);
        ASSERT_TRUE(host->set_thrust(craft, g.type, 0));
        EXPECT_NEAR(500 - craft.tanks().at(0).mass, rated / exhaust_speed * dt, 1e-12) << "group of type " << g.type;
    }
}

TEST_F(ModuleTest, EachCraftHasItsOwnDefinition)
{
    const sim::Craft a = NewVessel("A");
    const sim::Craft b = NewVessel("B");
    ExpectMervexDefinition(b);
    ASSERT_TRUE(host->set_thrust(a, THGROUP_MAIN, 1));
    EXPECT_EQ(a.thruster_levels().at(0), 1);
    EXPECT_EQ(b.thruster_levels().at(0), 0) << "each craft keeps its own thrusters";
    // Its own beacon records over shared tables: see lights_test.
}

TEST_F(ModuleTest, FirstValuesAfterTheClassDefinition)
{
    const sim::Craft r = NewVessel();
    // The beacons are registered lit while the lights command is off.
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    // Stowed, no command: the first step holds the arrays at 1 and the
    // lights follow the cleared command.
    host->step(0.1);
    auto anim = host->log().named("SetAnimation");
    ASSERT_EQ(anim.size(), 1u);
    EXPECT_EQ(anim[0].numbers[1], 1.0);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, false));
    EXPECT_EQ(host->log().count("oapiOpenDialogEx"), 0u) << "no dialog was asked for";
    // The refuel is still there.
    host->set_propellant_mass(r, 0, 10);
    char kstate[256] = {};
    kstate[0x1D] = char(0x80);
    EXPECT_EQ(r.callbacks()->clbkKeyPress(0x21, true, kstate), 1);
    EXPECT_EQ(r.tanks().at(0).mass, 500);
}

#if defined(__GNUC__) && !defined(_WIN32)
// The callback table is an interface with the host: a slot out of place
// would have the host call the wrong function. Under the Itanium C++ ABI a
// pointer to a virtual member holds 1 + the slot's byte offset.
template <typename F>
std::ptrdiff_t Slot(F f)
{
    std::ptrdiff_t raw;
    static_assert(sizeof(f) >= sizeof(raw), "member pointer layout");
    std::memcpy(&raw, &f, sizeof raw);
    return (raw - 1) / std::ptrdiff_t(sizeof(void*));
}

TEST(CallbackTable, SlotsStandInTheHostsOrder)
{
    EXPECT_EQ(Slot(&VESSEL2::clbkDefineClass), 0);
    EXPECT_EQ(Slot(&VESSEL2::clbkWriteScenario), 1);
    EXPECT_EQ(Slot(&VESSEL2::clbkReadScenario), 2);
    EXPECT_EQ(Slot(&VESSEL2::clbkSetStateEx), 3);
    EXPECT_EQ(Slot(&VESSEL2::clbkPostCreation), 4);
    EXPECT_EQ(Slot(&VESSEL2::clbkFocusChanged), 5);
    EXPECT_EQ(Slot(&VESSEL2::clbkPreStep), 6);
    EXPECT_EQ(Slot(&VESSEL2::clbkAfterStep), 7);
    EXPECT_EQ(Slot(&VESSEL2::clbkPlaybackEvent), 8);
    EXPECT_EQ(Slot(&VESSEL2::clbkVisualCreated), 9);
    EXPECT_EQ(Slot(&VESSEL2::clbkVisualDestroyed), 10);
    EXPECT_EQ(Slot(&VESSEL2::clbkDrawHUD), 11);
    EXPECT_EQ(Slot(&VESSEL2::clbkRCSMode), 12);
    EXPECT_EQ(Slot(&VESSEL2::clbkADCtrlMode), 13);
    EXPECT_EQ(Slot(&VESSEL2::clbkHUDMode), 14);
    EXPECT_EQ(Slot(&VESSEL2::clbkMFDMode), 15);
    EXPECT_EQ(Slot(&VESSEL2::clbkNavMode), 16);
    EXPECT_EQ(Slot(&VESSEL2::clbkDockEvent), 17);
    EXPECT_EQ(Slot(&VESSEL2::clbkAnimate), 18);
    EXPECT_EQ(Slot(&VESSEL2::clbkConsumeDirectKey), 19);
    EXPECT_EQ(Slot(&VESSEL2::clbkKeyPress), 20);
    EXPECT_EQ(Slot(&VESSEL2::clbkLoadGenericCockpit), 21);
    EXPECT_EQ(Slot(&VESSEL2::clbkLoadPanel), 22);
    EXPECT_EQ(Slot(&VESSEL2::clbkPanelMouseEvent), 23);
    EXPECT_EQ(Slot(&VESSEL2::clbkPanelRedrawEvent), 24);
    EXPECT_EQ(Slot(&VESSEL2::clbkLoadVC), 25);
    EXPECT_EQ(Slot(&VESSEL2::clbkVCMouseEvent), 26);
    EXPECT_EQ(Slot(&VESSEL2::clbkVCRedrawEvent), 27);
}
#endif
// The three attitude groups fired together for three minutes, as
// simhost-run --at 0:thrust:pitch-up=1 ... flies them: the angular momentum
// grows by at most the groups' torque a second, gyroscopic coupling or not.
TEST_F(ModuleTest, ThreeAttitudeGroupsAtOnceTurnNoFasterThanTheirTorquesAllow)
{
    const sim::Craft craft = NewVessel();
    const THGROUP_TYPE fired[] = {THGROUP_ATT_PITCHUP, THGROUP_ATT_YAWLEFT, THGROUP_ATT_BANKLEFT};
    VECTOR3 torque{0, 0, 0};
    const std::vector<sim::ThrusterView> thrusters = craft.thrusters();
    for (const sim::GroupView& g : craft.groups())
        for (THGROUP_TYPE type : fired)
            if (g.type == type) {
                VECTOR3 f, tq;
                GroupForceTorque(g, thrusters, f, tq);
                torque = {torque.x + tq.x, torque.y + tq.y, torque.z + tq.z};
            }
    const double most = std::sqrt(torque.x * torque.x + torque.y * torque.y + torque.z * torque.z);
    ASSERT_GT(most, 0);
    for (THGROUP_TYPE type : fired) host->set_thrust(craft, type, 1);
    double t = 0;
    for (int i = 0; i < 1800; ++i) {
        host->step(0.1);
        t += 0.1;
        const VECTOR3 w = craft.body().omega, pmi = craft.pmi();
        const double m = craft.mass();
        const double momentum = std::hypot(pmi.x * m * w.x, pmi.y * m * w.y, pmi.z * m * w.z);
        ASSERT_LE(momentum, most * t * (1 + 1e-9)) << "t = " << t;
    }
}

}  // namespace
