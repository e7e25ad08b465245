#include "telemetry/telemetry.h"

#include <cmath>

#include "markup/json_text.h"
#include "sim/beacons.h"

namespace app {

namespace {
// Ten significant digits: a file of many samples stays small.
constexpr int kDigits = 10;

Json Vec(const VECTOR3& v) { return Json::array({v.x, v.y, v.z}); }
}  // namespace

Sample take_sample(sim::Host& host, double t)
{
    Sample s;
    s.t = t;
    for (const sim::Craft r : host.vessels()) {
        CraftSample c;
        c.name = r.name();
        const std::vector<double> states = r.animation_states();
        c.animations = static_cast<int>(states.size());
        c.animation = states.empty() ? 0 : states.front();
        for (bool lit : r.beacons_lit()) {
            ++c.beacons;
            c.beacons_lit += lit;
        }
        c.propellant = r.propellant_mass();
        for (const sim::TankView& p : r.tanks()) c.capacity += p.capacity;
        c.mass = r.mass();
        c.pos = r.body().pos;
        c.vel = r.body().vel;
        c.omega = r.body().omega;
        c.speed = std::sqrt(c.vel.x * c.vel.x + c.vel.y * c.vel.y + c.vel.z * c.vel.z);
        s.craft.push_back(c);
    }
    for (const auto& d : host.dialogs().open_dialogs()) {
        const sim::Module* m = host.module_of(d->instance);
        DialogSample ds{m ? m->class_name() : "", d->caption, {}};
        for (const sim::Control& c : d->controls)
            if (sim::is_button(c)) ds.buttons.push_back({c.id, c.text, c.enabled});
        s.dialogs.push_back(std::move(ds));
    }
    return s;
}

JsonTelemetry::JsonTelemetry(const std::string& path, const std::vector<std::string>& modules, const std::string& scenario)
    : file_(path)
{
    // Written a sample at a time, so the layout around them is ours.
    file_.write("{\"modules\":" + json_text(modules) + ",\"scenario\":" + json_text(scenario) + ",\"units\":" +
                json_text("t s, masses kg, pos m, vel m/s, omega rad/s (body frame)") + ",\n\"samples\":[\n");
}

void JsonTelemetry::add(const Sample& s)
{
    Json dialogs = Json::array();
    for (const DialogSample& d : s.dialogs) {
        Json buttons = Json::array();
        for (const DialogSample::Button& b : d.buttons)
            buttons.push_back({{"id", b.id}, {"caption", b.caption}, {"enabled", b.enabled}});
        dialogs.push_back({{"module", d.module}, {"caption", d.caption}, {"buttons", std::move(buttons)}});
    }
    Json craft = Json::array();
    for (const CraftSample& c : s.craft)
        craft.push_back({{"name", c.name},
                         {"animation", c.animation},
                         {"beacons_lit", c.beacons_lit},
                         {"beacons", c.beacons},
                         {"propellant", c.propellant},
                         {"mass", c.mass},
                         {"pos", Vec(c.pos)},
                         {"vel", Vec(c.vel)},
                         {"speed", c.speed},
                         {"omega", Vec(c.omega)}});
    const Json sample = {{"t", s.t}, {"dialogs", std::move(dialogs)}, {"craft", std::move(craft)}};
    file_.write((first_ ? "" : ",\n") + json_text(sample, kDigits));
    first_ = false;
}

void JsonTelemetry::close(const std::vector<std::string>& events, const std::vector<std::string>& saved)
{
    file_.write("\n],\n\"events\":" + json_text(events) + ",\n\"saved\":" + json_text(saved) + "}\n");
    file_.commit();
}

}  // namespace app
