#include "physics/physics.h"

#include <algorithm>
#include <cmath>

#include "physics/rotation.h"

namespace sim {

namespace {
VECTOR3 Add(const VECTOR3& a, const VECTOR3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
VECTOR3 Scale(const VECTOR3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
VECTOR3 Cross(const VECTOR3& a, const VECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// v turned from the body frame into the inertial frame by the unit quaternion q.
VECTOR3 Rotate(const double q[4], const VECTOR3& v)
{
    const VECTOR3 u{q[1], q[2], q[3]};
    const VECTOR3 t = Scale(Cross(u, v), 2);
    return Add(Add(v, Scale(t, q[0])), Cross(u, t));
}

// Propellant a thruster at full level burns per second, or 0 when it cannot fire.
double FullFlow(const Thruster& t)
{
    const double isp = exhaust_speed(t);
    return isp > 0 ? t.max_thrust / isp : 0;
}
}  // namespace

void integrate(VesselRecord& vessel, double dt)
{
    if (!(dt > 0)) return;
    BodyState& b = vessel.body;
    const double m0 = vessel.mass();
    const std::vector<LitThruster>& lit = vessel.lit_thrusters();

    // What each tank is asked for this step (the sums run in thruster order),
    // then the share of it the tank can give.
    for (const LitThruster& l : lit)
        if (Propellant* res = l.thruster.resource) res->step_asked = false, res->step_demand = 0;
    for (const LitThruster& l : lit) {
        const Thruster& t = l.thruster;
        const double full = FullFlow(t);
        if (full > 0 && t.resource->mass > 0) {
            t.resource->step_demand += t.level() * full * dt;
            t.resource->step_asked = true;
        }
    }

    VECTOR3 force{}, torque{};
    double flow = 0;
    for (const LitThruster& l : lit) {
        const Thruster& t = l.thruster;
        Propellant* res = t.resource;
        if (!res || !res->step_asked) continue;
        res->step_share = res->step_demand > res->mass ? res->mass / res->step_demand : 1.0;
        const double effective = t.level() * res->step_share;
        const VECTOR3 f = Scale(t.dir, effective * t.max_thrust);
        force = Add(force, f);
        torque = Add(torque, Cross(t.pos, f));
        flow += effective * FullFlow(t);
    }
    // Each asked tank once: the mark goes with its update.
    for (const LitThruster& l : lit)
        if (Propellant* res = l.thruster.resource; res && res->step_asked) {
            res->mass = res->step_share < 1.0 ? 0.0 : std::max(0.0, res->mass - res->step_demand);
            res->step_asked = false;
        }
    const double m1 = vessel.mass();

    const VECTOR3 w0 = b.omega;
    if (m0 > 0) {
        const bool burning = flow > 0 && m1 > 0 && m1 < m0;
        const VECTOR3 dv = burning ? Scale(force, std::log(m0 / m1) / flow) : Scale(force, dt / m0);
        b.vel = Add(b.vel, Rotate(b.q, dv));

        b.omega = spin(w0, Scale(vessel.pmi, m0), torque, dt);
    }
    b.pos = Add(b.pos, Scale(b.vel, dt));
    turn(b.q, Scale(Add(w0, b.omega), 0.5), dt);
}

const char* non_finite_quantity(const VesselRecord& vessel)
{
    const BodyState& b = vessel.body;
    auto finite = [](const VECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); };
    if (!finite(b.pos)) return "position (POS)";
    if (!finite(b.vel)) return "velocity (VEL)";
    for (double q : b.q)
        if (!std::isfinite(q)) return "attitude (ATT)";
    if (!finite(b.omega)) return "angular velocity (AROT)";
    for (const Propellant& p : vessel.propellants)
        if (!std::isfinite(p.mass)) return "propellant mass (PROPELLANT)";
    return nullptr;
}

}  // namespace sim
