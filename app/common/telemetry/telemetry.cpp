#include "telemetry/telemetry.h"

#include <cmath>
#include <cstdio>

#include "sim/beacons.h"
#include "sim/utf8.h"

namespace app {

namespace {
std::string Num(double v)
{
    if (!std::isfinite(v)) return "null";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string Vec(const VECTOR3& v) { return "[" + Num(v.x) + "," + Num(v.y) + "," + Num(v.z) + "]"; }

std::string List(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + json_string(items[i]);
    return out + "]";
}
}  // namespace

std::string json_string(const std::string& s)
{
    std::string out = "\"";
    for (char c : sim::valid_utf8(s)) {
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
            out += buf;
        } else out += c;
    }
    return out + "\"";
}

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
    file_.write("{\"modules\":" + List(modules) + ",\"scenario\":" + json_string(scenario) + ",\"units\":" +
                json_string("t s, masses kg, pos m, vel m/s, omega rad/s (body frame)") + ",\n\"samples\":[\n");
}

void JsonTelemetry::add(const Sample& s)
{
    std::string line = std::string(first_ ? "" : ",\n") + "{\"t\":" + Num(s.t) + ",\"dialogs\":[";
    for (size_t i = 0; i < s.dialogs.size(); ++i) {
        const DialogSample& d = s.dialogs[i];
        line += std::string(i ? "," : "") + "{\"module\":" + json_string(d.module) + ",\"caption\":" +
                json_string(d.caption) + ",\"buttons\":[";
        for (size_t b = 0; b < d.buttons.size(); ++b)
            line += std::string(b ? "," : "") + "{\"id\":" + std::to_string(d.buttons[b].id) + ",\"caption\":" +
                    json_string(d.buttons[b].caption) + ",\"enabled\":" + (d.buttons[b].enabled ? "true" : "false") + "}";
        line += "]}";
    }
    line += "],\"craft\":[";
    for (size_t i = 0; i < s.craft.size(); ++i) {
        const CraftSample& c = s.craft[i];
        line += std::string(i ? "," : "") + "{\"name\":" + json_string(c.name) + ",\"animation\":" + Num(c.animation) +
                ",\"beacons_lit\":" + std::to_string(c.beacons_lit) + ",\"beacons\":" + std::to_string(c.beacons) +
                ",\"propellant\":" + Num(c.propellant) + ",\"mass\":" + Num(c.mass) + ",\"pos\":" + Vec(c.pos) +
                ",\"vel\":" + Vec(c.vel) + ",\"speed\":" + Num(c.speed) + ",\"omega\":" + Vec(c.omega) + "}";
    }
    line += "]}";
    file_.write(line);
    first_ = false;
}

void JsonTelemetry::close(const std::vector<std::string>& events, const std::vector<std::string>& saved)
{
    file_.write("\n],\n\"events\":" + List(events) + ",\n\"saved\":" + List(saved) + "}\n");
    file_.commit();
}

}  // namespace app
