#include "telemetry/json_telemetry.h"

#include "markup/json_text.h"

namespace app {

namespace {
// Ten significant digits: a file of many samples stays small.
constexpr int kDigits = 10;

Json Vec(const VECTOR3& v) { return Json::array({v.x, v.y, v.z}); }
}  // namespace

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
        for (const DialogSample::Control& b : d.controls)
            if (b.button) buttons.push_back({{"id", b.id}, {"caption", b.caption}, {"enabled", b.enabled}});
        dialogs.push_back({{"module", d.module}, {"caption", d.caption}, {"buttons", std::move(buttons)}});
    }
    Json craft = Json::array();
    for (const CraftSample& c : s.craft)
        craft.push_back({{"name", c.name},
                         {"animation", c.first_animation()},
                         {"beacons_lit", c.lit_beacons()},
                         {"beacons", c.beacons_lit.size()},
                         {"propellant", c.propellant},
                         {"mass", c.mass},
                         {"pos", Vec(c.body.pos)},
                         {"vel", Vec(c.body.vel)},
                         {"speed", c.speed},
                         {"omega", Vec(c.body.omega)}});
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
