#include "floor_fleet.h"

#include <algorithm>
#include <cmath>

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

double Norm(const VECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// The turning, as the host integrates it (sim/physics/rotation.cpp).
VECTOR3 Times(const VECTOR3& inertia, const VECTOR3& v) { return {inertia.x * v.x, inertia.y * v.y, inertia.z * v.z}; }

double Det(const VECTOR3& a, const VECTOR3& b, const VECTOR3& c)  // the columns
{
    return a.x * (b.y * c.z - b.z * c.y) - b.x * (a.y * c.z - a.z * c.y) + c.x * (a.y * b.z - a.z * b.y);
}

// The midpoint m of the torque-free step from w0: 2I(m − w0) + dt m × Im = 0,
// by Newton's method; false when it does not settle.
bool Midpoint(const VECTOR3& w0, const VECTOR3& I, double dt, VECTOR3& m)
{
    m = w0;
    for (int iteration = 0; iteration < 12; ++iteration) {
        const VECTOR3 Im = Times(I, m);
        const VECTOR3 g = Cross(m, Im);
        const VECTOR3 f{2 * I.x * (m.x - w0.x) + dt * g.x, 2 * I.y * (m.y - w0.y) + dt * g.y,
                        2 * I.z * (m.z - w0.z) + dt * g.z};
        // The Jacobian 2I + dt ([m]× I − [Im]×), column by column.
        const VECTOR3 c0{2 * I.x, dt * (m.z * I.x - Im.z), dt * (Im.y - m.y * I.x)};
        const VECTOR3 c1{dt * (Im.z - m.z * I.y), 2 * I.y, dt * (m.x * I.y - Im.x)};
        const VECTOR3 c2{dt * (m.y * I.z - Im.y), dt * (Im.x - m.x * I.z), 2 * I.z};
        const double det = Det(c0, c1, c2);
        if (!(std::abs(det) > 0) || !std::isfinite(det)) return false;
        const VECTOR3 d{Det(f, c1, c2) / det, Det(c0, f, c2) / det, Det(c0, c1, f) / det};
        m = {m.x - d.x, m.y - d.y, m.z - d.z};
        if (!std::isfinite(Norm(m))) return false;
        // Newton squares the error: a correction this small leaves rounding.
        if (Norm(d) <= 1e-12 * Norm(m)) return true;
    }
    return false;
}

// The torque-free motion over dt; a step the solver cannot settle is taken
// as two halves, down to 1/256. Past that the rate is not a number, which
// the step reports, rather than a rate made up.
VECTOR3 FreeSpin(const VECTOR3& w0, const VECTOR3& I, double dt, int depth = 0)
{
    VECTOR3 m;
    if (Midpoint(w0, I, dt, m)) return {2 * m.x - w0.x, 2 * m.y - w0.y, 2 * m.z - w0.z};
    if (depth == 8) return {std::nan(""), std::nan(""), std::nan("")};
    return FreeSpin(FreeSpin(w0, I, dt / 2, depth + 1), I, dt / 2, depth + 1);
}
VECTOR3 Spin(const VECTOR3& omega, const VECTOR3& inertia, const VECTOR3& torque, double dt)
{
    auto kick = [](double tq, double i) { return i > 0 ? tq / i : 0.0; };
    const VECTOR3 half{0.5 * dt * kick(torque.x, inertia.x), 0.5 * dt * kick(torque.y, inertia.y),
                       0.5 * dt * kick(torque.z, inertia.z)};
    VECTOR3 w{omega.x + half.x, omega.y + half.y, omega.z + half.z};
    if (inertia.x > 0 && inertia.y > 0 && inertia.z > 0 && (w.x != 0 || w.y != 0 || w.z != 0))
        w = FreeSpin(w, inertia, dt);
    return {w.x + half.x, w.y + half.y, w.z + half.z};
}

void Turn(double q[4], const VECTOR3& rate, double dt)
{
    const double r = Norm(rate);
    const double half = 0.5 * r * dt;
    if (!(half > 0) || !std::isfinite(half)) return;
    const double s = std::sin(half) / r;
    const double d[4] = {std::cos(half), rate.x * s, rate.y * s, rate.z * s};
    const double t[4] = {q[0] * d[0] - q[1] * d[1] - q[2] * d[2] - q[3] * d[3],
                         q[0] * d[1] + q[1] * d[0] + q[2] * d[3] - q[3] * d[2],
                         q[0] * d[2] - q[1] * d[3] + q[2] * d[0] + q[3] * d[1],
                         q[0] * d[3] + q[1] * d[2] - q[2] * d[1] + q[3] * d[0]};
    const double n = std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2] + t[3] * t[3]);
    for (int i = 0; i < 4; ++i) q[i] = t[i] / n;
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
        b.omega = Spin(w0, Scale(c.pmi, m0), torque, dt);
    }
    b.pos = Add(b.pos, Scale(b.vel, dt));
    Turn(b.q, Scale(Add(w0, b.omega), 0.5), dt);
}

}  // namespace bench
