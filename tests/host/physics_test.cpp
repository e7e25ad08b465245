// Free-space flight of the built Mervex craft in the stand-in host, checked
// against closed-form results.
#include <cmath>
#include <vector>

#include "sim/keyboard.h"
#include "support/module_fixture.h"
#include "sim/physics.h"

namespace {

constexpr double isp = 2344.59;
constexpr double main_flow = 440 / isp;  // kg/s at full level
const double full_burn_time = 500 / main_flow;

class PhysicsTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        craft = &NewVessel();
    }
    double Propellant() const { return craft->propellant_mass(); }
    void Run(double seconds, double dt)
    {
        for (double t = 0; t < seconds - 1e-9; t += dt) Step(std::min(dt, seconds - t));
    }
    // The main engine sits 5 cm above the axis and pitches the craft; the
    // burn tests hold the attitude so that the whole delta-v lies along +z.
    void Step(double dt)
    {
        host->step(dt);
        if (hold_attitude) {
            craft->body.omega = {};
            craft->body.q[0] = 1;
            craft->body.q[1] = craft->body.q[2] = craft->body.q[3] = 0;
        }
    }

    bool hold_attitude = true;

    sim::VesselRecord* craft = nullptr;
};

TEST_F(PhysicsTest, FullMainEngineBurnFollowsTheRocketEquation)
{
    ASSERT_DOUBLE_EQ(craft->mass(), 2000);
    ASSERT_TRUE(sim::set_group_level(*craft, THGROUP_MAIN, 1));
    // The step lengths do not divide the burn time; the last step of the
    // burn takes what is left.
    for (double dt : {7.0, 0.5, 2.0}) {
        for (int i = 0; i < 200; ++i) Step(dt);
        if (Propellant() == 0) break;
    }
    for (int i = 0; Propellant() > 0 && i < 10000; ++i) Step(3.3);
    EXPECT_EQ(Propellant(), 0);
    const double expected = isp * std::log(2000.0 / 1500.0);
    EXPECT_NEAR(craft->body.vel.z, expected, expected * 1e-6);
    EXPECT_NEAR(craft->body.vel.x, 0, 1e-9);
    EXPECT_NEAR(craft->body.vel.y, 0, 1e-9);

    // Once empty, the engine gives nothing however long it stays on.
    const double after = craft->body.vel.z;
    Run(100, 1);
    EXPECT_EQ(craft->body.vel.z, after);
    EXPECT_EQ(Propellant(), 0);
}

TEST_F(PhysicsTest, BurnTimeAndPartialBurn)
{
    sim::set_group_level(*craft, THGROUP_MAIN, 1);
    const double t = 1000;
    Run(t, 0.25);
    const double m1 = 2000 - main_flow * t;
    EXPECT_NEAR(Propellant(), 500 - main_flow * t, 1e-9);
    EXPECT_NEAR(craft->body.vel.z, isp * std::log(2000 / m1), isp * std::log(2000 / m1) * 1e-6);
    // Position after a constant-flow burn from rest: integral of the rocket equation.
    const double exact_pos = isp * t - isp * (m1 / main_flow) * std::log(2000 / m1);
    EXPECT_NEAR(craft->body.pos.z, exact_pos, exact_pos * 1e-3);

    // Still burning one step before the burn time, empty one step after it.
    Run(std::floor(full_burn_time) - t, 1);
    EXPECT_GT(Propellant(), 0);
    EXPECT_LT(Propellant(), main_flow);
    Step(1);
    EXPECT_EQ(Propellant(), 0);
}

TEST_F(PhysicsTest, HalfLevelBurnsHalfAsFast)
{
    sim::set_group_level(*craft, THGROUP_MAIN, 0.5);
    Run(100, 1);
    EXPECT_NEAR(Propellant(), 500 - 0.5 * main_flow * 100, 1e-9);
}

struct RotationCase {
    THGROUP_TYPE type;
    VECTOR3 torque;
};

TEST_F(PhysicsTest, RotationGroupsGiveTorqueOverInertia)
{
    const RotationCase cases[] = {
        {THGROUP_ATT_PITCHUP, {-164.7, 0, 0}}, {THGROUP_ATT_PITCHDOWN, {164.7, 0, 0}},
        {THGROUP_ATT_YAWLEFT, {0, -164.7, 0}}, {THGROUP_ATT_YAWRIGHT, {0, 164.7, 0}},
        {THGROUP_ATT_BANKLEFT, {0, 0, 60.48}}, {THGROUP_ATT_BANKRIGHT, {0, 0, -60.48}},
    };
    const double dt = 0.01;
    for (const RotationCase& c : cases) {
        SCOPED_TRACE(c.type);
        craft->body = sim::BodyState{};
        const double m0 = craft->mass();
        sim::set_group_level(*craft, c.type, 1);
        host->step(dt);
        sim::set_group_level(*craft, c.type, 0);
        const VECTOR3& w = craft->body.omega;
        EXPECT_NEAR(w.x / dt, c.torque.x / (5 * m0), 1e-9);
        EXPECT_NEAR(w.y / dt, c.torque.y / (5 * m0), 1e-9);
        EXPECT_NEAR(w.z / dt, c.torque.z / (0.85 * m0), 1e-9);
        // No net force: the craft does not start to move.
        EXPECT_NEAR(craft->body.vel.x, 0, 1e-12);
        EXPECT_NEAR(craft->body.vel.y, 0, 1e-12);
        EXPECT_NEAR(craft->body.vel.z, 0, 1e-12);
    }
}

TEST_F(PhysicsTest, MainEngineOffTheAxisPitchesTheCraft)
{
    hold_attitude = false;
    sim::set_group_level(*craft, THGROUP_MAIN, 1);
    host->step(0.01);
    EXPECT_NEAR(craft->body.omega.x / 0.01, 22 / (5 * 2000.0), 1e-9);
    EXPECT_EQ(craft->body.omega.y, 0);
}

struct TranslationCase {
    THGROUP_TYPE type;
    VECTOR3 force;
};

TEST_F(PhysicsTest, TranslationGroupsPushWithoutTurning)
{
    const TranslationCase cases[] = {
        {THGROUP_ATT_RIGHT, {54, 0, 0}},    {THGROUP_ATT_LEFT, {-54, 0, 0}},
        {THGROUP_ATT_DOWN, {0, -54, 0}},    {THGROUP_ATT_UP, {0, 54, 0}},
        {THGROUP_ATT_FORWARD, {0, 0, 108}}, {THGROUP_ATT_BACK, {0, 0, -53.46}},
    };
    for (const TranslationCase& c : cases) {
        SCOPED_TRACE(c.type);
        craft->body = sim::BodyState{};
        const double m0 = craft->mass();
        sim::set_group_level(*craft, c.type, 1);
        host->step(0.1);
        sim::set_group_level(*craft, c.type, 0);
        EXPECT_NEAR(craft->body.omega.x, 0, 1e-12);
        EXPECT_NEAR(craft->body.omega.y, 0, 1e-12);
        EXPECT_NEAR(craft->body.omega.z, 0, 1e-12);
        // The back thrusters' directions are not unit length; the force is as given.
        EXPECT_NEAR(craft->body.vel.x, c.force.x / m0 * 0.1, 1e-4 * std::abs(c.force.x / m0 * 0.1) + 1e-12);
        EXPECT_NEAR(craft->body.vel.y, c.force.y / m0 * 0.1, 1e-4 * std::abs(c.force.y / m0 * 0.1) + 1e-12);
        EXPECT_NEAR(craft->body.vel.z, c.force.z / m0 * 0.1, 2e-4 * std::abs(c.force.z / m0 * 0.1) + 1e-12);
    }
}

TEST_F(PhysicsTest, NothingMovesOrBurnsAtLevelZero)
{
    hold_attitude = false;
    Run(500, 2.5);
    EXPECT_EQ(Propellant(), 500);
    EXPECT_EQ(craft->body.vel.x, 0);
    EXPECT_EQ(craft->body.vel.z, 0);
    EXPECT_EQ(craft->body.pos.z, 0);
    EXPECT_EQ(craft->body.omega.x, 0);
    EXPECT_FALSE(sim::set_group_level(*craft, THGROUP_RETRO, 1)) << "the craft has no retro group";
}

TEST_F(PhysicsTest, RefuelKeyFillsTheTankOnce)
{
    sim::set_group_level(*craft, THGROUP_MAIN, 1);
    Run(100, 1);
    sim::set_group_level(*craft, THGROUP_MAIN, 0);
    ASSERT_LT(Propellant(), 500);
    EXPECT_EQ(host->key_press(*craft, OAPI_KEY_F, {OAPI_KEY_LCONTROL}), 1);
    EXPECT_EQ(Propellant(), 500);

    sim::set_group_level(*craft, THGROUP_MAIN, 1);
    Run(100, 1);
    const double left = Propellant();
    EXPECT_EQ(host->key_press(*craft, OAPI_KEY_F, {OAPI_KEY_RCONTROL}), 1);
    EXPECT_EQ(Propellant(), left);
}

TEST_F(PhysicsTest, SpinAboutAPrincipalAxisTurnsTheAttitudeAndThrust)
{
    hold_attitude = false;
    craft->body.omega = {0, 0.1, 0};
    const double quarter = (M_PI / 2) / 0.1;
    Run(quarter, quarter / 1000);
    const double* q = craft->body.q;
    EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1, 1e-12);
    EXPECT_NEAR(q[0], std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(q[2], std::sin(M_PI / 4), 1e-9);
    EXPECT_NEAR(craft->body.omega.y, 0.1, 1e-12);

    // The main engine pushes along the body's +z, which now lies along inertial +x.
    craft->body.omega = {};
    sim::set_group_level(*craft, THGROUP_MAIN, 1);
    host->step(0.01);
    EXPECT_GT(craft->body.vel.x, 0.002);
    EXPECT_NEAR(craft->body.vel.z, 0, 1e-6);
}

TEST_F(PhysicsTest, AStepThatBreaksOneCraftIsTakenBackForEveryCraft)
{
    sim::VesselRecord& second = NewVessel("Mervex-2");
    sim::VesselRecord& third = NewVessel("Mervex-3");
    const std::vector<sim::VesselRecord*> fleet = {craft, &second, &third};
    for (sim::VesselRecord* r : fleet) sim::set_group_level(*r, THGROUP_MAIN, 1);
    host->step(0.1);
    auto state = [&] {
        std::vector<double> s{host->sim_time()};
        for (const sim::VesselRecord* r : fleet) {
            const sim::BodyState& b = r->body;
            s.insert(s.end(), {b.pos.x, b.pos.y, b.pos.z, b.vel.x, b.vel.y, b.vel.z, b.q[0], b.q[1], b.q[2], b.q[3],
                               b.omega.x, b.omega.y, b.omega.z, r->propellant_mass()});
        }
        return s;
    };
    second.body.omega = {1e160, 1e160, 0};
    const std::vector<double> before = state();
    EXPECT_THROW(host->step(0.1), sim::StateError);
    EXPECT_EQ(state(), before);

    second.body.omega = {};
    host->step(0.1);
    for (const sim::VesselRecord* r : fleet) EXPECT_LT(r->propellant_mass(), before.back());
}

TEST(ThrusterIsp, InterpolatesBetweenVacuumAndReferencePressure)
{
    sim::Thruster t;
    t.isp_vacuum = 2344.59;
    t.isp_ref = 2187.63;
    t.p_ref = 101400;
    EXPECT_DOUBLE_EQ(sim::thruster_isp(t, 0), 2344.59);
    EXPECT_DOUBLE_EQ(sim::thruster_isp(t, 101400), 2187.63);
    EXPECT_NEAR(sim::thruster_isp(t, 50700), (2344.59 + 2187.63) / 2, 1e-9);
    t.isp_ref = 0;
    EXPECT_DOUBLE_EQ(sim::thruster_isp(t, 101400), 2344.59);
}

}  // namespace
