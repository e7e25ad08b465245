// Free-space flight of the probe (probe_module.cpp) in the stand-in host,
// checked against closed-form results from its numbers.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "probe_fixture.h"

namespace {

// The probe's numbers.
constexpr double full_mass = 1000, dry_mass = 600, tank = 400;
constexpr double main_isp = 3000;             // in free space; its reference Isp, 2500, is not
constexpr double main_flow = 2000 / main_isp;  // kg/s at full level
constexpr double full_burn_time = tank / main_flow;
constexpr double rcs_isp = 1000, rcs_pair_thrust = 2 * 100;
const VECTOR3 pmi{2, 4, 1};

// The speed a burn at constant flow gives from mass m0 in dt: the rocket equation.
double DeltaV(double isp, double m0, double flow, double dt) { return isp * std::log(m0 / (m0 - flow * dt)); }

void ExpectNear(const VECTOR3& got, const VECTOR3& want, double tolerance)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

class PhysicsTest : public ProbeTest {
protected:
    double Propellant() const { return craft.propellant_mass(); }
    const sim::BodyState& Body() const { return craft.body(); }
    // Steps of dt; the last takes what is left of `seconds`.
    void Run(double seconds, double dt)
    {
        for (double t = 0; t < seconds - 1e-9; t += dt) host.step(std::min(dt, seconds - t));
    }
    void PlaceWithSpin(const VECTOR3& omega)
    {
        sim::BodyState b = Body();
        b.omega = omega;
        host.place(craft, b);
    }

    sim::Craft craft = NewProbe();
};

TEST_F(PhysicsTest, FullMainEngineBurnFollowsTheRocketEquation)
{
    ASSERT_EQ(craft.mass(), full_mass);
    ASSERT_TRUE(host.set_thrust(craft, THGROUP_MAIN, 1));
    // Step lengths that do not divide the burn time; the step that empties
    // the tank gives what the tank held.
    const std::pair<double, int> phases[] = {{7.0, 40}, {0.5, 100}, {2.0, 100}};
    for (const auto& [dt, steps] : phases)
        for (int i = 0; i < steps; ++i) host.step(dt);
    ASSERT_GT(Propellant(), 0);
    for (int i = 0; Propellant() > 0 && i < 100; ++i) host.step(3.3);
    EXPECT_EQ(Propellant(), 0);
    EXPECT_EQ(craft.mass(), dry_mass);
    const double expected = main_isp * std::log(full_mass / dry_mass);
    EXPECT_NEAR(Body().vel.z, expected, expected * 1e-9);
    EXPECT_EQ(Body().vel.x, 0);
    EXPECT_EQ(Body().vel.y, 0);

    // Once empty, the engine gives nothing however long it stays on.
    const double after = Body().vel.z;
    Run(100, 1);
    EXPECT_EQ(Body().vel.z, after);
    EXPECT_EQ(Propellant(), 0);
}

TEST_F(PhysicsTest, BurnTimeAndPartialBurn)
{
    host.set_thrust(craft, THGROUP_MAIN, 1);
    const double t = 450;
    Run(t, 0.25);
    const double m1 = full_mass - main_flow * t;
    EXPECT_NEAR(Propellant(), tank - main_flow * t, 1e-9);
    EXPECT_NEAR(Body().vel.z, DeltaV(main_isp, full_mass, main_flow, t), 1e-9 * Body().vel.z);
    // Position after a constant-flow burn from rest: the integral of the rocket equation.
    const double exact_pos = main_isp * t - main_isp * (m1 / main_flow) * std::log(full_mass / m1);
    EXPECT_NEAR(Body().pos.z, exact_pos, exact_pos * 1e-3);

    // Still burning half a step before the burn time, empty the step after.
    Run(full_burn_time - 0.5 - t, 1);
    EXPECT_GT(Propellant(), 0);
    EXPECT_LT(Propellant(), main_flow);
    host.step(1);
    EXPECT_EQ(Propellant(), 0);
}

TEST_F(PhysicsTest, HalfLevelBurnsHalfAsFast)
{
    host.set_thrust(craft, THGROUP_MAIN, 0.5);
    Run(100, 1);
    EXPECT_NEAR(Propellant(), tank - 0.5 * main_flow * 100, 1e-9);
}

struct GroupCase {
    THGROUP_TYPE type;
    VECTOR3 push;  // the group's torque or force at full level
};

TEST_F(PhysicsTest, RotationGroupsGiveTorqueOverInertia)
{
    const GroupCase cases[] = {
        {THGROUP_ATT_PITCHUP, {-400, 0, 0}}, {THGROUP_ATT_PITCHDOWN, {400, 0, 0}},
        {THGROUP_ATT_YAWLEFT, {0, -400, 0}}, {THGROUP_ATT_YAWRIGHT, {0, 400, 0}},
        {THGROUP_ATT_BANKLEFT, {0, 0, 200}}, {THGROUP_ATT_BANKRIGHT, {0, 0, -200}},
    };
    const double dt = 0.01;
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.type);
        host.place(craft, sim::BodyState{});
        const double m0 = craft.mass();
        host.set_thrust(craft, c.type, 1);
        host.step(dt);
        host.set_thrust(craft, c.type, 0);
        const VECTOR3 w = Body().omega;
        ExpectNear({w.x / dt, w.y / dt, w.z / dt},
                   {c.push.x / (pmi.x * m0), c.push.y / (pmi.y * m0), c.push.z / (pmi.z * m0)}, 1e-9);
        // No net force: the craft does not start to move.
        ExpectNear(Body().vel, {0, 0, 0}, 1e-12);
    }
}

TEST_F(PhysicsTest, ThreeAttitudeGroupsTogetherTurnNoFasterThanTheirTorquesAllow)
{
    // The angular momentum grows by at most |torque| a second, whatever the
    // gyroscopic coupling does: here |(-400, -400, 200)| = 600 N m.
    for (THGROUP_TYPE g : {THGROUP_ATT_PITCHUP, THGROUP_ATT_YAWLEFT, THGROUP_ATT_BANKLEFT}) host.set_thrust(craft, g, 1);
    const double steps[] = {0.1, 0.5, 2};
    double t = 0;
    for (int i = 0; t < 180 - 1e-9; ++i) {
        host.step(steps[i % 3]);
        t += steps[i % 3];
        const VECTOR3 w = Body().omega;
        const double m = craft.mass();
        const double momentum = std::hypot(pmi.x * m * w.x, pmi.y * m * w.y, pmi.z * m * w.z);
        ASSERT_LE(momentum, 600 * t * (1 + 1e-9)) << "t = " << t;
    }
}

TEST_F(PhysicsTest, TranslationGroupsPushWithoutTurning)
{
    // The back pair pushes aslant: only its thrust along the axis is left.
    const GroupCase cases[] = {
        {THGROUP_ATT_RIGHT, {200, 0, 0}},   {THGROUP_ATT_LEFT, {-200, 0, 0}},
        {THGROUP_ATT_UP, {0, 200, 0}},      {THGROUP_ATT_DOWN, {0, -200, 0}},
        {THGROUP_ATT_FORWARD, {0, 0, 200}}, {THGROUP_ATT_BACK, {0, 0, -160}},
    };
    const double dt = 0.1;
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.type);
        host.place(craft, sim::BodyState{});
        const double dv = DeltaV(rcs_isp, craft.mass(), rcs_pair_thrust / rcs_isp, dt) / rcs_pair_thrust;
        host.set_thrust(craft, c.type, 1);
        host.step(dt);
        host.set_thrust(craft, c.type, 0);
        ExpectNear(Body().omega, {0, 0, 0}, 1e-12);
        ExpectNear(Body().vel, {c.push.x * dv, c.push.y * dv, c.push.z * dv}, 1e-12);
    }
}

TEST_F(PhysicsTest, AThrusterOffTheCentrePushesAndTurns)
{
    // The hover thruster: 500 N upwards, 2 m behind the centre.
    host.set_thrust(craft, THGROUP_HOVER, 1);
    host.step(0.01);
    ExpectNear(Body().omega, {500 * 2 / (pmi.x * full_mass) * 0.01, 0, 0}, 1e-12);
    ExpectNear(Body().vel, {0, DeltaV(rcs_isp, full_mass, 500 / rcs_isp, 0.01), 0}, 1e-12);
}

TEST_F(PhysicsTest, NothingMovesOrBurnsAtLevelZero)
{
    Run(500, 2.5);
    EXPECT_EQ(Propellant(), tank);
    ExpectNear(Body().pos, {0, 0, 0}, 0);
    ExpectNear(Body().vel, {0, 0, 0}, 0);
    ExpectNear(Body().omega, {0, 0, 0}, 0);
    EXPECT_FALSE(host.set_thrust(craft, THGROUP_RETRO, 1)) << "the probe has no retro group";
}

TEST_F(PhysicsTest, AKeyReachesTheCraftWithItsModifiers)
{
    host.set_thrust(craft, THGROUP_MAIN, 1);
    Run(100, 1);
    host.set_thrust(craft, THGROUP_MAIN, 0);
    const double left = Propellant();
    ASSERT_LT(left, tank);
    EXPECT_EQ(host.key_press(craft, OAPI_KEY_F), 0) << "F alone is not the probe's";
    EXPECT_EQ(Propellant(), left);
    EXPECT_EQ(host.key_press(craft, OAPI_KEY_F, {OAPI_KEY_RCONTROL}), 1);
    EXPECT_EQ(Propellant(), tank);
}

TEST_F(PhysicsTest, SpinAboutAPrincipalAxisTurnsTheAttitudeAndThrust)
{
    PlaceWithSpin({0, 0.1, 0});
    const double quarter = (M_PI / 2) / 0.1;
    Run(quarter, quarter / 1000);
    const double* q = Body().q;
    EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1, 1e-12);
    EXPECT_NEAR(q[0], std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(q[2], std::sin(M_PI / 4), 1e-9);
    EXPECT_NEAR(Body().omega.y, 0.1, 1e-12);

    // The main engine pushes along the body's +z, which now lies along inertial +x.
    PlaceWithSpin({0, 0, 0});
    host.set_thrust(craft, THGROUP_MAIN, 1);
    host.step(0.01);
    ExpectNear(Body().vel, {DeltaV(main_isp, full_mass, main_flow, 0.01), 0, 0}, 1e-9);
}

TEST_F(PhysicsTest, AStepThatBreaksOneCraftIsTakenBackForEveryCraft)
{
    const std::vector<sim::Craft> fleet = {craft, NewProbe("P-2"), NewProbe("P-3")};
    for (const sim::Craft& c : fleet) host.set_thrust(c, THGROUP_MAIN, 1);
    host.step(0.1);
    auto state = [&] {
        std::vector<double> s{host.sim_time()};
        for (const sim::Craft& c : fleet) {
            const sim::BodyState& b = c.body();
            s.insert(s.end(), {b.pos.x, b.pos.y, b.pos.z, b.vel.x, b.vel.y, b.vel.z, b.q[0], b.q[1], b.q[2], b.q[3],
                               b.omega.x, b.omega.y, b.omega.z, c.propellant_mass()});
        }
        return s;
    };
    sim::BodyState spinning = fleet[1].body();
    spinning.omega = {1e160, 1e160, 0};
    host.place(fleet[1], spinning);
    const std::vector<double> before = state();
    EXPECT_THROW(host.step(0.1), sim::StateError);
    EXPECT_EQ(state(), before);

    spinning.omega = {};
    host.place(fleet[1], spinning);
    host.step(0.1);
    for (const sim::Craft& c : fleet) EXPECT_LT(c.propellant_mass(), before.back());
}

TEST_F(PhysicsTest, PlacingAndFillingRefuseWhatCannotBeFlown)
{
    host.set_propellant_mass(craft, 0, 1e9);
    EXPECT_EQ(Propellant(), tank) << "filled to capacity, no further";
    host.set_propellant_mass(craft, 0, -5);
    EXPECT_EQ(Propellant(), 0);
    EXPECT_THROW(host.set_propellant_mass(craft, 0, NAN), std::invalid_argument);
    EXPECT_THROW(host.set_propellant_mass(craft, 1, 10), std::invalid_argument) << "the probe has one tank";

    sim::BodyState bad = Body();
    bad.pos.x = 12;
    bad.q[2] = INFINITY;
    EXPECT_THROW(host.place(craft, bad), std::invalid_argument);
    EXPECT_EQ(Body().pos.x, 0) << "a refused state leaves the craft where it was";

    const sim::Craft gone = NewProbe("P-2");
    host.destroy_craft(gone);
    EXPECT_THROW(host.place(gone, Body()), std::logic_error);
    EXPECT_THROW(host.set_thrust(gone, THGROUP_MAIN, 1), std::logic_error);
}

}  // namespace
