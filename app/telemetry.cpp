#include "telemetry.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "sim/beacons.h"
#include "resource.h"

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
    for (char c : s) {
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
    for (const auto& r : host.vessels()) {
        CraftSample c;
        c.name = r->name;
        c.array_state = r->animations.empty() ? 0 : r->animations.front().state;
        for (bool lit : sim::beacons_lit(*r)) {
            ++c.beacons;
            c.beacons_lit += lit;
        }
        c.propellant = r->propellant_mass();
        for (const auto& p : r->propellants) c.capacity += p->capacity;
        c.mass = r->mass();
        c.pos = r->body.pos;
        c.vel = r->body.vel;
        c.omega = r->body.omega;
        c.speed = std::sqrt(c.vel.x * c.vel.x + c.vel.y * c.vel.y + c.vel.z * c.vel.z);
        s.craft.push_back(c);
    }
    for (const auto& d : host.dialogs().open_dialogs()) {
        if (d->resid != IDD_CONTROLS) continue;
        s.dialog_open = true;
        for (const sim::Control& c : d->controls)
            if (c.id == IDC_DEPLOY) s.deploy_enabled = c.enabled;
    }
    return s;
}

JsonTelemetry::JsonTelemetry(const std::string& path, const std::string& module, const std::string& scenario)
    : path_(path), file_(std::fopen(path.c_str(), "wb"))
{
    if (!file_) throw std::runtime_error("cannot create the telemetry file " + path + ": " + std::strerror(errno));
    std::fprintf(file_.get(), "{\"module\":%s,\"scenario\":%s,\"units\":%s,\n\"samples\":[\n", json_string(module).c_str(),
                 json_string(scenario).c_str(),
                 json_string("t s, masses kg, pos m, vel m/s, omega rad/s (body frame)").c_str());
}

JsonTelemetry::~JsonTelemetry() = default;

void JsonTelemetry::add(const Sample& s)
{
    if (!file_) return;
    std::string line = std::string(first_ ? "" : ",\n") + "{\"t\":" + Num(s.t) +
                       ",\"dialog_open\":" + (s.dialog_open ? "true" : "false");
    if (s.deploy_enabled >= 0) line += std::string(",\"deploy_enabled\":") + (s.deploy_enabled ? "true" : "false");
    line += ",\"craft\":[";
    for (size_t i = 0; i < s.craft.size(); ++i) {
        const CraftSample& c = s.craft[i];
        line += std::string(i ? "," : "") + "{\"name\":" + json_string(c.name) + ",\"array_state\":" + Num(c.array_state) +
                ",\"beacons_lit\":" + std::to_string(c.beacons_lit) + ",\"beacons\":" + std::to_string(c.beacons) +
                ",\"propellant\":" + Num(c.propellant) + ",\"mass\":" + Num(c.mass) + ",\"pos\":" + Vec(c.pos) +
                ",\"vel\":" + Vec(c.vel) + ",\"speed\":" + Num(c.speed) + ",\"omega\":" + Vec(c.omega) + "}";
    }
    line += "]}";
    std::fputs(line.c_str(), file_.get());
    first_ = false;
}

void JsonTelemetry::close(const std::vector<std::string>& events, const std::vector<std::string>& saved)
{
    if (!file_) return;
    std::fprintf(file_.get(), "\n],\n\"events\":%s,\n\"saved\":%s}\n", List(events).c_str(), List(saved).c_str());
    const bool failed = std::ferror(file_.get()) != 0;
    const int closed = std::fclose(file_.release());
    if (failed || closed != 0) throw std::runtime_error("cannot write the telemetry file " + path_);
}

}  // namespace app
