#include "floor_fleet.h"

#include <algorithm>
#include <cmath>

#include "physics/rotation.h"

namespace bench {

namespace {
VECTOR3 Add(const VECTOR3& a, const VECTOR3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
VECTOR3 Scale(const VECTOR3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
VECTOR3 Cross(const VECTOR3& a, const VECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

VECTOR3 Rotate(const double q[4], const VECTOR3& v)
{
    const VECTOR3 u{q[1], q[2], q[3]};
    const VECTOR3 t = Scale(Cross(u, v), 2);
    return Add(Add(v, Scale(t, q[0])), Cross(u, t));
}

}  // namespace

FloorFleet::FloorFleet(const std::vector<sim::Craft>& craft)
{
    for (const sim::Craft r : craft) {
        Craft c;
        c.first_tank = tank_mass_.size();
        for (const sim::TankView& p : r.tanks()) tank_mass_.push_back(p.mass);
        c.tanks = tank_mass_.size() - c.first_tank;
        c.first_thruster = level_.size();
        for (const sim::ThrusterView& t : r.thrusters()) {
            const bool fed = t.tank != sim::none;
            const double isp = t.exhaust_speed;
            pos_.push_back(t.pos);
            dir_.push_back(t.dir);
            max_thrust_.push_back(t.max_thrust);
            full_flow_.push_back(fed && isp > 0 ? t.max_thrust / isp : 0);
            level_.push_back(std::isfinite(t.level) ? std::clamp(t.level, 0.0, 1.0) : 0.0);
            tank_.push_back(fed ? c.first_tank + size_t(t.tank) : no_tank);
        }
        c.thrusters = level_.size() - c.first_thruster;
        c.empty_mass = r.empty_mass();
        c.pmi = r.pmi();
        craft_.push_back(c);
        body_.push_back(r.body());
    }
    demand_.assign(tank_mass_.size(), 0);
    share_.assign(tank_mass_.size(), 0);
    asked_.assign(tank_mass_.size(), 0);
}

std::vector<double> FloorFleet::tank_masses(size_t craft) const
{
    const Craft& c = craft_[craft];
    return {tank_mass_.begin() + long(c.first_tank), tank_mass_.begin() + long(c.first_tank + c.tanks)};
}

double FloorFleet::mass(const Craft& c) const
{
    double m = 0;
    for (size_t k = c.first_tank; k < c.first_tank + c.tanks; ++k) m += tank_mass_[k];
    return c.empty_mass + m;
}

void FloorFleet::step(double dt)
{
    if (!(dt > 0)) return;
    for (size_t i = 0; i < craft_.size(); ++i) step_craft(craft_[i], body_[i], dt);
}

void FloorFleet::step_craft(const Craft& c, sim::BodyState& b, double dt)
{
    const size_t t0 = c.first_thruster, t1 = c.first_thruster + c.thrusters;
    const double m0 = mass(c);
    for (size_t k = c.first_tank; k < c.first_tank + c.tanks; ++k) demand_[k] = 0, asked_[k] = 0;
    for (size_t i = t0; i < t1; ++i) {
        const size_t k = tank_[i];
        if (level_[i] > 0 && full_flow_[i] > 0 && tank_mass_[k] > 0) {
            demand_[k] += level_[i] * full_flow_[i] * dt;
            asked_[k] = 1;
        }
    }
    for (size_t k = c.first_tank; k < c.first_tank + c.tanks; ++k)
        if (asked_[k]) share_[k] = demand_[k] > tank_mass_[k] ? tank_mass_[k] / demand_[k] : 1.0;

    VECTOR3 force{}, torque{};
    double flow = 0;
    for (size_t i = t0; i < t1; ++i) {
        if (level_[i] == 0 || tank_[i] == no_tank || !asked_[tank_[i]]) continue;
        const double effective = level_[i] * share_[tank_[i]];
        const VECTOR3 f = Scale(dir_[i], effective * max_thrust_[i]);
        force = Add(force, f);
        torque = Add(torque, Cross(pos_[i], f));
        flow += effective * full_flow_[i];
    }
    for (size_t k = c.first_tank; k < c.first_tank + c.tanks; ++k)
        if (asked_[k]) tank_mass_[k] = share_[k] < 1.0 ? 0.0 : std::max(0.0, tank_mass_[k] - demand_[k]);
    const double m1 = mass(c);

    const VECTOR3 w0 = b.omega;
    if (m0 > 0) {
        const bool burning = flow > 0 && m1 > 0 && m1 < m0;
        const VECTOR3 dv = burning ? Scale(force, std::log(m0 / m1) / flow) : Scale(force, dt / m0);
        b.vel = Add(b.vel, Rotate(b.q, dv));
        b.omega = sim::spin(w0, Scale(c.pmi, m0), torque, dt);
    }
    b.pos = Add(b.pos, Scale(b.vel, dt));
    sim::turn(b.q, Scale(Add(w0, b.omega), 0.5), dt);
}

}  // namespace bench
