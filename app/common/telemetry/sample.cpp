#include "telemetry/sample.h"

#include <algorithm>
#include <cmath>

#include "sim/beacons.h"

namespace app {

int CraftSample::lit_beacons() const { return static_cast<int>(std::count(beacons_lit.begin(), beacons_lit.end(), true)); }

Sample take_sample(sim::Host& host, double t)
{
    Sample s;
    s.t = t;
    for (const sim::Craft r : host.all_craft()) {
        CraftSample c;
        c.name = r.name();
        c.body = r.body();
        const VECTOR3& v = c.body.vel;
        c.speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        c.mass = r.mass();
        c.propellant = r.propellant_mass();
        for (const sim::TankView& p : r.tanks()) {
            c.capacity += p.capacity;
            c.tank_masses.push_back(p.mass);
        }
        c.thruster_levels = r.thruster_levels();
        c.animations = r.animation_states();
        c.beacons_lit = r.beacons_lit();
        for (const sim::BeaconView& b : host.drawn_beacons(r)) c.beacons_drawn.push_back(b.lit);
        s.craft.push_back(std::move(c));
    }
    for (const auto& d : host.dialogs().open_dialogs()) {
        const sim::Module* m = host.module_of(d->instance);
        DialogSample ds{m ? m->class_name() : "", d->caption, d->resid, {}};
        for (const sim::Control& c : d->controls) ds.controls.push_back({c.id, c.text, c.enabled, sim::is_button(c)});
        s.dialogs.push_back(std::move(ds));
    }
    return s;
}

}  // namespace app
