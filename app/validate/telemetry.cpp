#include "telemetry.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "host/oapi.h"

namespace validate {

namespace {
std::string Num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string Vec(const VECTOR3& v) { return Num(v.x) + " " + Num(v.y) + " " + Num(v.z); }
}  // namespace

void require_call_log(sim::Host& host)
{
    host.log().clear();
    Date2Int("Jan 1 2000");
    const bool kept = host.log().count("Date2Int") == 1;
    host.log().clear();
    if (!kept) throw std::logic_error("the host keeps no log of the calls made into it, which this check compares");
}

void add_snapshot(sim::Host& host, std::vector<std::string>& out, bool as_shown)
{
    out.push_back("t " + Num(host.sim_time()));
    for (const sim::Craft r : host.vessels()) {
        const sim::BodyState& b = r.body();
        std::string line = r.name() + " pos " + Vec(b.pos) + " vel " + Vec(b.vel) + " q " + Num(b.q[0]) + " " +
                           Num(b.q[1]) + " " + Num(b.q[2]) + " " + Num(b.q[3]) + " omega " + Vec(b.omega);
        line += " tanks";
        for (const sim::TankView& p : r.tanks()) line += " " + Num(p.mass);
        line += " thrust";
        for (double level : r.thruster_levels()) line += " " + Num(level);
        line += " anim";
        for (double state : r.animation_states())
            line += " " + Num(as_shown ? std::min(1.0, std::max(0.0, state)) : state);
        line += " beacons";
        for (const sim::BeaconView& v : host.drawn_beacons(r)) line += v.lit ? " on" : " off";
        out.push_back(line);
    }
    for (const auto& d : host.dialogs().open_dialogs()) {
        std::string line = "dialog " + std::to_string(d->resid);
        for (const sim::Control& c : d->controls) line += " " + std::to_string(c.id) + (c.enabled ? "+" : "-");
        out.push_back(line);
    }
}

size_t add_calls(sim::Host& host, size_t from, std::vector<std::string>& out)
{
    const std::vector<sim::HostCall>& calls = host.log().calls();
    for (size_t i = from; i < calls.size(); ++i) {
        const sim::HostCall& c = calls[i];
        std::string line = c.name;
        if (c.craft) line += " @" + (host.holds(c.craft) ? c.craft.name() : std::string("gone"));
        if (c.name != "InitLib")
            for (double n : c.numbers) line += " " + Num(n);
        if (!c.text.empty()) line += " \"" + c.text + "\"";
        out.push_back(line);
    }
    return calls.size();
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> out;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        out.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

std::string first_difference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return "entry " + std::to_string(i + 1) + ": \"" + a[i] + "\" then \"" + b[i] + "\"";
    if (a.size() != b.size())
        return "the first has " + std::to_string(a.size()) + " entries, the second " + std::to_string(b.size());
    return "";
}

}  // namespace validate
