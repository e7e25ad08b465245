#include "physics/rotation.h"

#include <cmath>

namespace sim {

namespace {
VECTOR3 Cross(const VECTOR3& a, const VECTOR3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
VECTOR3 Times(const VECTOR3& inertia, const VECTOR3& v) { return {inertia.x * v.x, inertia.y * v.y, inertia.z * v.z}; }
double Norm(const VECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

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
}  // namespace

VECTOR3 spin(const VECTOR3& omega, const VECTOR3& inertia, const VECTOR3& torque, double dt)
{
    auto kick = [](double tq, double i) { return i > 0 ? tq / i : 0.0; };
    const VECTOR3 half{0.5 * dt * kick(torque.x, inertia.x), 0.5 * dt * kick(torque.y, inertia.y),
                       0.5 * dt * kick(torque.z, inertia.z)};
    VECTOR3 w{omega.x + half.x, omega.y + half.y, omega.z + half.z};
    if (inertia.x > 0 && inertia.y > 0 && inertia.z > 0 && (w.x != 0 || w.y != 0 || w.z != 0))
        w = FreeSpin(w, inertia, dt);
    return {w.x + half.x, w.y + half.y, w.z + half.z};
}

void turn(double q[4], const VECTOR3& rate, double dt)
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

}  // namespace sim
