// The turning of a rigid body (physics/rotation.h) against closed forms: a
// torque about a principal axis, and torque-free spins that keep their
// energy and angular momentum over many steps.
#include <gtest/gtest.h>

#include <cmath>

#include "physics/rotation.h"

namespace {

double Energy(const VECTOR3& w, const VECTOR3& I) { return 0.5 * (I.x * w.x * w.x + I.y * w.y * w.y + I.z * w.z * w.z); }
double Momentum(const VECTOR3& w, const VECTOR3& I)
{
    return std::sqrt(I.x * I.x * w.x * w.x + I.y * I.y * w.y * w.y + I.z * I.z * w.z * w.z);
}

TEST(Rotation, ATorqueAboutAPrincipalAxisGivesTheClosedForm)
{
    const VECTOR3 I{2, 4, 1};
    const double w0 = 0.3, torque = 2, dt = 0.25;
    VECTOR3 w{0, w0, 0};
    double q[4] = {1, 0, 0, 0};
    for (int i = 0; i < 400; ++i) {
        const VECTOR3 before = w;
        w = sim::spin(w, I, {0, torque, 0}, dt);
        sim::turn(q, {0.5 * (before.x + w.x), 0.5 * (before.y + w.y), 0.5 * (before.z + w.z)}, dt);
    }
    const double t = 400 * dt, alpha = torque / I.y;
    EXPECT_NEAR(w.y, w0 + alpha * t, 1e-11);
    EXPECT_EQ(w.x, 0);
    EXPECT_EQ(w.z, 0);
    const double angle = w0 * t + 0.5 * alpha * t * t;
    EXPECT_NEAR(q[0], std::cos(angle / 2), 1e-9);
    EXPECT_NEAR(q[2], std::sin(angle / 2), 1e-9);
}

struct FreeSpin {
    const char* body;
    VECTOR3 inertia, omega;
    double dt;
};

TEST(Rotation, ATorqueFreeSpinKeepsItsEnergyAndAngularMomentum)
{
    // Steps long against the spin, where an explicit step runs away.
    const FreeSpin cases[] = {
        {"symmetric", {2, 2, 1}, {0.4, -0.1, 1.5}, 0.05},
        {"asymmetric", {2, 4, 1}, {0.3, 0.2, 1.1}, 0.1},
        {"asymmetric, near its middle axis", {2, 4, 1}, {0.01, 2, 0.01}, 0.2},
    };
    for (const FreeSpin& c : cases) {
        SCOPED_TRACE(c.body);
        VECTOR3 w = c.omega;
        for (int i = 0; i < 10000; ++i) w = sim::spin(w, c.inertia, {0, 0, 0}, c.dt);
        EXPECT_NEAR(Energy(w, c.inertia) / Energy(c.omega, c.inertia), 1, 1e-12);
        EXPECT_NEAR(Momentum(w, c.inertia) / Momentum(c.omega, c.inertia), 1, 1e-12);
    }
}

TEST(Rotation, ASymmetricBodyPrecessesAtItsClosedFormRate)
{
    // About the symmetry axis the rate holds; across it the rate turns at
    // (I3 − I1) / I1 × ω3.
    const VECTOR3 I{2, 2, 1}, w0{0.4, 0, 1.5};
    const double dt = 0.01, steps = 10000, t = dt * steps;
    VECTOR3 w = w0;
    for (int i = 0; i < steps; ++i) w = sim::spin(w, I, {0, 0, 0}, dt);
    const double rate = (I.z - I.x) / I.x * w0.z;
    // The midpoint rule lags by about (rate dt)^3 / 12 radians a step.
    const double lag = steps * std::pow(std::abs(rate) * dt, 3) / 12;
    EXPECT_NEAR(w.z, w0.z, 1e-12);
    EXPECT_NEAR(w.x, w0.x * std::cos(rate * t), 2 * lag * w0.x);
    EXPECT_NEAR(w.y, w0.x * std::sin(rate * t), 2 * lag * w0.x);
}

TEST(Rotation, ARateBeyondWhatAStepResolvesIsNotANumber)
{
    EXPECT_TRUE(std::isnan(sim::spin({1e160, 1e160, 0}, {2, 4, 1}, {0, 0, 0}, 0.1).x));
}

}  // namespace
