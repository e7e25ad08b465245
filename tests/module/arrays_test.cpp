// The solar-array animation: how it is built, how each step moves it, and
// where the host draws the wing segments.
#include <gtest/gtest.h>

#include <cmath>

#include "support/animation_expectations.h"
#include "core/host_access.h"
#include "sim/animation_pose.h"
#include "support/behaviour_helpers.h"
#include "support/module_fixture.h"

namespace {
using behaviour::LoadOne;
using behaviour::Saved;
using behaviour::States;

// The state after one step of the deployment rule: double arithmetic, narrowed.
float Next(float state, double dt) { return static_cast<float>(state - dt / 20.0); }

class ArraysTest : public ModuleTest {
protected:
    // Deploys with K and clears the log, so only the steps that follow are in it.
    void Deploy(sim::Craft r)
    {
        ASSERT_EQ(host->key_press(r, OAPI_KEY_K), 1);
        host->log().clear();
    }
};

TEST_F(ArraysTest, SixHingesInTwoChainsOfThree)
{
    const sim::Craft r = NewVessel();
    EXPECT_EQ(r.animations().at(0).initial_state, 0.0);
    ExpectMervexArrayHinges(r);
}

TEST_F(ArraysTest, TwoCraftShareGroupListsButNotRotationRecords)
{
    const sim::Craft a = NewVessel("A");
    const sim::Craft b = NewVessel("B");
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(a.components()[i].transform, b.components()[i].transform);
        EXPECT_EQ(a.components()[i].transform->grp, b.components()[i].transform->grp);
    }
}

TEST_F(ArraysTest, StowedCraftHoldsItsArraysEveryStep)
{
    const sim::Craft r = NewVessel();
    for (int i = 0; i < 3; ++i) host->step(1);
    EXPECT_EQ(States(host->log(), "SetAnimation"), (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(host->log().count("SetAnimState"), 0u);
    EXPECT_EQ(r.animation_states().at(0), 1.0);
}

TEST_F(ArraysTest, SevenSecondStepsDeployInThreeStepsThenStop)
{
    const sim::Craft r = NewVessel();
    ExpectSevenSecondDeployment(*host, r);
    // Each state the host saw is a 32-bit value, and nothing follows the third.
    for (double v : States(host->log(), "SetAnimation")) EXPECT_EQ(v, double(float(v)));
    EXPECT_EQ(host->log().count("SetAnimation"), 3u);
}

TEST_F(ArraysTest, OneLongStepOvershootsOnceAndStopsAtZero)
{
    const sim::Craft r = NewVessel();
    Deploy(r);
    host->step(25);
    host->step(25);
    EXPECT_EQ(States(host->log(), "SetAnimation"), (std::vector<double>{-0.25f}));
    EXPECT_EQ(Saved(*host, "ARRAYS"), "0");
}

TEST_F(ArraysTest, DecrementFollowsTheHostsStepLengthOnly)
{
    const sim::Craft r = NewVessel();
    Deploy(r);
    host->step(2);
    // Same step length as the host reports, other callback arguments.
    r.callbacks()->clbkAfterStep(1e6, 50, 12345);
    EXPECT_EQ(States(host->log(), "SetAnimation"), (std::vector<double>{Next(1, 2), Next(Next(1, 2), 2)}));
}

TEST_F(ArraysTest, CommandsOnceDeployedChangeNothing)
{
    const sim::Craft r = NewVessel();
    Deploy(r);
    host->step(30);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_K), 1);
    host->log().clear();
    for (int i = 0; i < 3; ++i) host->step(1);
    EXPECT_EQ(host->log().count("SetAnimation"), 0u);
}

TEST_F(ArraysTest, HalfDeployedFinishesInTenSeconds)
{
    const sim::Craft r = LoadOne(*host, *module, "ARRAYS 0.5\n");
    Deploy(r);
    for (int i = 0; i < 9; ++i) host->step(1);
    EXPECT_GT(States(host->log(), "SetAnimation").back(), 0);
    host->step(1);
    EXPECT_LE(States(host->log(), "SetAnimation").back(), 0);
    EXPECT_EQ(Saved(*host, "ARRAYS"), "0");
}

TEST_F(ArraysTest, AboveRangeIsLeftAloneUntilCommandedThenRunsDownFromThere)
{
    const sim::Craft r = LoadOne(*host, *module, "ARRAYS 1.5\n");
    EXPECT_EQ(States(host->log(), "SetAnimState"), (std::vector<double>{1.5}));
    host->log().clear();
    for (int i = 0; i < 3; ++i) host->step(1);
    EXPECT_EQ(host->log().count("SetAnimation"), 0u);

    Deploy(r);
    for (int i = 0; i < 15; ++i) host->step(2);
    const std::vector<double> got = States(host->log(), "SetAnimation");
    ASSERT_EQ(got.size(), 15u);
    EXPECT_NEAR(got[0], 1.4, 1e-6);
    EXPECT_GT(got[3], 1.0);
    EXPECT_GT(got[13], 0.0);
    EXPECT_LE(got[14], 0.0);
    EXPECT_EQ(Saved(*host, "ARRAYS"), "0");
}

TEST_F(ArraysTest, BelowZeroIsHeldAndCannotDeploy)
{
    const sim::Craft r = LoadOne(*host, *module, "ARRAYS -0.2\n");
    for (int i = 0; i < 3; ++i) host->step(1);
    EXPECT_EQ(States(host->log(), "SetAnimation"), (std::vector<double>(3, -0.2f)));
    // A command has nothing to deploy: the arrays stay put and the hold ends.
    Deploy(r);
    for (int i = 0; i < 3; ++i) host->step(1);
    EXPECT_EQ(host->log().count("SetAnimation"), 0u);
    EXPECT_EQ(r.animation_states().at(0), double(-0.2f));
    EXPECT_EQ(Saved(*host, "ARRAYS"), "-0.20000000298023224") << "the float read, to the last digit that tells it apart";
}

TEST_F(ArraysTest, MissingFirstComponentStopsDeploymentButNotTheHold)
{
    sim::host_access::test_faults()->null_animation_component = 0;
    const sim::Craft r = NewVessel();
    EXPECT_EQ(r.components().at(1).parent, sim::none);  // the module passed on what it got
    host->step(1);
    EXPECT_EQ(States(host->log(), "SetAnimation"), (std::vector<double>{1}));
    Deploy(r);
    for (int i = 0; i < 3; ++i) host->step(5);
    EXPECT_EQ(host->log().count("SetAnimation"), 0u);
    EXPECT_EQ(Saved(*host, "ARRAYS"), "1");
}

// Where the picture puts the wing segments.
double Distance(const VECTOR3& a, const VECTOR3& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST_F(ArraysTest, MeshShowsTheDeployedWingsAtStateZero)
{
    const sim::Craft r = LoadOne(*host, *module, "ARRAYS 0\n");
    const VECTOR3 tip{-4.5, 0.009, -2.559};
    for (UINT g = 0; g < 6; ++g) {
        const VECTOR3 p = sim::apply(r.group_pose(0, g), tip);
        EXPECT_NEAR(Distance(p, tip), 0, 1e-12) << "group " << g;
    }
}

TEST_F(ArraysTest, StowedWingsFoldAgainstTheBody)
{
    const sim::Craft r = NewVessel();
    host->step(1);  // holds at 1: stowed
    // The inner hinge's quarter turn swings the -x wing root's outer end
    // about the hinge; the half turns fold the next segments back over it.
    const VECTOR3 hinge1{-1.059, 0.011, -2.559};
    const VECTOR3 seg0_end{-2.219, 0.011, -2.559};
    const VECTOR3 p0 = sim::apply(r.group_pose(0, 0), seg0_end);
    EXPECT_NEAR(Distance(p0, hinge1), Distance(seg0_end, hinge1), 1e-9);
    EXPECT_NEAR(p0.x, hinge1.x, 1e-6);
    EXPECT_NEAR(std::fabs(p0.z - hinge1.z), 1.16, 1e-6);

    // Every point of a wing keeps its height: all hinges are vertical.
    const VECTOR3 seg2{-4.0, 0.5, -2.3};
    for (UINT g = 0; g < 6; ++g) EXPECT_NEAR(sim::apply(r.group_pose(0, g), seg2).y, 0.5, 1e-12);

    // Mirror images: the +x wing's pose of a mirrored point is the mirror.
    for (UINT g = 0; g < 3; ++g) {
        const VECTOR3 a = sim::apply(r.group_pose(0, g), seg2);
        const VECTOR3 b = sim::apply(r.group_pose(0, g + 3), {-seg2.x, seg2.y, seg2.z});
        EXPECT_NEAR(a.x, -b.x, 1e-9);
        EXPECT_NEAR(a.z, b.z, 1e-9);
    }
    // Outside the state bounds the hinges do not move.
    const sim::Pose at96 = r.group_pose(0, 2, {0.96});
    const sim::Pose at100 = r.group_pose(0, 2, {1.0});
    EXPECT_NEAR(Distance(sim::apply(at96, seg2), sim::apply(at100, seg2)), 0, 1e-12);
}

TEST_F(ArraysTest, OuterSegmentsFollowTheirParents)
{
    const sim::Craft r = NewVessel();
    const std::vector<double> half{0.5};
    // The second hinge line stays attached to the first segment as it turns.
    const VECTOR3 hinge2{-2.219, 0.01, -2.576};
    const VECTOR3 by_parent = sim::apply(r.group_pose(0, 0, half), hinge2);
    const VECTOR3 by_child = sim::apply(r.group_pose(0, 1, half), hinge2);
    EXPECT_NEAR(Distance(by_parent, by_child), 0, 1e-12);
    EXPECT_GT(Distance(by_child, hinge2), 0.5);
    // A group no component moves stays where the mesh has it.
    const VECTOR3 p{1, 2, 3};
    EXPECT_EQ(Distance(sim::apply(r.group_pose(0, 17, half), p), p), 0);
    EXPECT_EQ(Distance(sim::apply(r.group_pose(1, 0, half), p), p), 0);
}

}  // namespace
