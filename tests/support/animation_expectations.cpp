#include "support/animation_expectations.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/animation_pose.h"

namespace {
const double deg = 0.017453292519943295;

struct Hinge {
    VECTOR3 ref;
    double angle_deg;
    int parent;  // index among the craft's components, none for a wing root
};
const Hinge hinges[6] = {
    {{-1.059, 0.011, -2.559}, 90, sim::none}, {{-2.219, 0.01, -2.576}, -180, 0}, {{-3.382, 0.009, -2.559}, 180, 1},
    {{1.059, 0.011, -2.559}, -90, sim::none}, {{2.219, 0.01, -2.576}, 180, 3},   {{3.382, 0.009, -2.559}, -180, 4},
};

// One step of the deployment rule: double arithmetic, kept as a 32-bit value.
float Next(float state, double dt) { return static_cast<float>(state - dt / 20.0); }

std::vector<double> SetAnimationStates(const sim::CallLog& log)
{
    std::vector<double> out;
    for (const sim::HostCall& c : log.named("SetAnimation")) out.push_back(c.numbers.at(1));
    return out;
}
}  // namespace

void ExpectMervexArrayHinges(const sim::Craft& r)
{
    const std::vector<sim::AnimationView> animations = r.animations();
    const std::vector<sim::ComponentView> components = r.components();
    ASSERT_EQ(animations.size(), 1u);
    ASSERT_EQ(components.size(), 6u);
    ASSERT_EQ(animations[0].components.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("hinge " + std::to_string(i));
        const sim::ComponentView& c = components[i];
        EXPECT_EQ(c.state0, 0.05);
        EXPECT_EQ(c.state1, 0.95);
        EXPECT_EQ(c.parent, hinges[i].parent);
        ASSERT_EQ(c.type, MGROUP_TRANSFORM::ROTATE);
        const MGROUP_ROTATE& rot = *static_cast<const MGROUP_ROTATE*>(c.transform);
        EXPECT_EQ(rot.mesh, 0u);
        ASSERT_EQ(rot.ngrp, 1u);
        EXPECT_EQ(rot.grp[0], UINT(i));
        EXPECT_EQ(rot.ref.x, hinges[i].ref.x);
        EXPECT_EQ(rot.ref.y, hinges[i].ref.y);
        EXPECT_EQ(rot.ref.z, hinges[i].ref.z);
        EXPECT_EQ(rot.axis.x, 0.0);
        EXPECT_EQ(rot.axis.y, 1.0);
        EXPECT_EQ(rot.axis.z, 0.0);
        EXPECT_EQ(rot.angle, static_cast<float>(hinges[i].angle_deg * deg));
    }
}

void ExpectSevenSecondDeployment(sim::Host& host, sim::Craft r)
{
    ASSERT_EQ(host.key_press(r, OAPI_KEY_K), 1);
    host.log().clear();
    for (int i = 0; i < 6; ++i) host.step(7);
    const float s1 = Next(1, 7), s2 = Next(s1, 7), s3 = Next(s2, 7);
    EXPECT_EQ(SetAnimationStates(host.log()), (std::vector<double>{s1, s2, s3}));
    EXPECT_NEAR(s1, 0.65, 1e-6);
    EXPECT_NEAR(s2, 0.3, 1e-6);
    EXPECT_NEAR(s3, -0.05, 1e-6);

    const sim::Scenario saved = sim::parse_scenario(host.scenario_text(), "saved");
    bool found = false;
    for (const sim::ScenarioVessel& v : saved.vessels)
        if (v.name == r.name())
            for (const sim::ScenarioLine& l : v.lines) found = found || l.text == "ARRAYS 0";
    EXPECT_TRUE(found) << "the craft keeps exactly 0 after the overshoot";

    // Deployed, every segment's outer end is where the mesh models it.
    const VECTOR3 tip{-4.5, 0.009, -2.559};
    for (UINT g = 0; g < 3; ++g) {
        const VECTOR3 p = sim::apply(r.group_pose(0, g), tip);
        EXPECT_NEAR(std::hypot(p.x - tip.x, p.y - tip.y, p.z - tip.z), 0, 1e-6) << "group " << g;
    }
}
