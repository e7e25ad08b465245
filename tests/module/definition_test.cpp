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

TEST_F(ModuleTest, ClassDefinitionCallsComeInOrder)
{
    NewVessel();
    std::vector<std::string> names;
    for (const auto& c : host->log().calls())
        if (c.craft) names.push_back(c.name);
    std::vector<std::string> expected = {"SetSize", "SetEmptyMass", "SetPMI", "SetCameraOffset",
                                         "CreatePropellantResource", "SetDefaultPropellantResource",
                                         "CreateAttachment", "CreateAttachment", "CreateAttachment",
                                         "CreateThruster", "CreateThrusterGroup", "AddExhaust"};
    for (int i = 0; i < 22; ++i) expected.push_back("CreateThruster");
    for (int i = 0; i < 12; ++i) expected.push_back("CreateThrusterGroup");
    for (const char* n : {"CreateDock", "EnableTransponder", "SetTransponderChannel", "AddMesh",
                          "SetMeshVisibilityMode", "CreateAnimation"})
        expected.push_back(n);
    for (int i = 0; i < 6; ++i) expected.push_back("AddAnimationComponent");
    for (int i = 0; i < 4; ++i) expected.push_back("AddBeacon");
    EXPECT_EQ(names, expected);

    auto tank = host->log().named("CreatePropellantResource");
    ASSERT_EQ(tank.size(), 1u);
    EXPECT_EQ(tank[0].numbers, (std::vector<double>{500, -1, 1}));
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
            if (g.type == type)
                for (int i : g.thrusters) {
                    const sim::ThrusterView& t = thrusters[static_cast<size_t>(i)];
                    const VECTOR3 f{t.dir.x * t.max_thrust, t.dir.y * t.max_thrust, t.dir.z * t.max_thrust};
                    torque.x += t.pos.y * f.z - t.pos.z * f.y;
                    torque.y += t.pos.z * f.x - t.pos.x * f.z;
                    torque.z += t.pos.x * f.y - t.pos.y * f.x;
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
