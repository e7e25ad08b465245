// A flight far longer than the other checks fly, for what shows only late:
// a counter of steps or time that overflows, a table that fills up.
#include <chrono>
#include <cmath>
#include <string>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "options.h"
#include "session.h"

namespace validate {

namespace {
bool Finite(const VECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
}  // namespace

void check_long_flight(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    Driver driver = s.driver();
    if (!attempt(f, "making two craft", [&] {
            driver.add_craft();
            driver.add_craft();
        }))
        return;
    // A module whose steps are slow, though within their budget, flies as
    // far as part of the time limit allows, and the note says how far.
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                           std::chrono::duration<double>(0.4 * default_timeout(ctx.level)));
    const int steps = long_flight_steps(ctx.level), stretch = 1000;
    int flown = 0;
    for (int from = 1; from <= steps && f.passed() && std::chrono::steady_clock::now() < until; from += stretch) {
        const std::string what = "steps " + std::to_string(from) + " to " + std::to_string(from + stretch - 1) +
                                 " of a long flight (0.1 s each)";
        // Thrusters off, so that what grows is the module's, not a burn
        // left on for hours.
        attempt(f, what, [&] {
            for (const sim::Craft c : driver.craft()) s.host.shut_down_thrusters(c);
            for (int k = 0; k < stretch; ++k) s.host.step(0.1);
        });
        flown = from + stretch - 1;
        for (const sim::Craft c : driver.craft()) {
            if (Finite(c.body().pos) && Finite(c.body().vel) && std::isfinite(c.mass())) continue;
            f.fail(what + ": " + c.name() + "'s position, velocity or mass is no longer a finite number");
            break;
        }
    }
    if (f.passed())
        f.note(std::to_string(flown) + " steps flown" +
               (flown < steps ? " of " + std::to_string(steps) + ": the time allowed ran out" : ""));
}

}  // namespace validate
