#include "telemetry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "host/oapi.h"
#include "telemetry/sample.h"

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
    const app::Sample sample = app::take_sample(host, host.sim_time());
    out.push_back("t " + Num(sample.t));
    for (const app::CraftSample& c : sample.craft) {
        const sim::BodyState& b = c.body;
        std::string line = c.name + " pos " + Vec(b.pos) + " vel " + Vec(b.vel) + " q " + Num(b.q[0]) + " " +
                           Num(b.q[1]) + " " + Num(b.q[2]) + " " + Num(b.q[3]) + " omega " + Vec(b.omega);
        line += " tanks";
        for (double mass : c.tank_masses) line += " " + Num(mass);
        line += " thrust";
        for (double level : c.thruster_levels) line += " " + Num(level);
        line += " anim";
        for (double state : c.animations) line += " " + Num(as_shown ? std::min(1.0, std::max(0.0, state)) : state);
        line += " beacons";
        for (bool lit : c.beacons_drawn) line += lit ? " on" : " off";
        out.push_back(line);
    }
    for (const app::DialogSample& d : sample.dialogs) {
        std::string line = "dialog " + std::to_string(d.resid);
        for (const app::DialogSample::Control& c : d.controls) line += " " + std::to_string(c.id) + (c.enabled ? "+" : "-");
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

namespace {
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// Two entries that differ, the field where they part marked: short ones
// whole, long ones (a telemetry line of many numbers) around that field.
std::string Parting(const std::string& a, const std::string& b)
{
    const std::vector<std::string> wa = Words(a), wb = Words(b);
    size_t k = 0;
    while (k < wa.size() && k < wb.size() && wa[k] == wb[k]) ++k;
    std::string label;
    for (size_t i = k; i-- > 0;)
        if (std::isalpha(static_cast<unsigned char>(wa[i][0]))) {
            label = wa[i];
            break;
        }
    std::string out = "field " + std::to_string(k + 1) + (label.empty() ? "" : " (after " + label + ")") + ": \"" +
                      (k < wa.size() ? wa[k] : "") + "\" then \"" + (k < wb.size() ? wb[k] : "") + "\"";
    if (a.size() <= 120 && b.size() <= 120) return out + ", in \"" + a + "\" then \"" + b + "\"";
    auto around = [k](const std::vector<std::string>& w) {
        std::string s = k > 3 ? "... " : "";
        for (size_t i = k > 3 ? k - 3 : 0; i < w.size() && i < k + 4; ++i)
            s += (i == k ? "[" + w[i] + "]" : w[i]) + (i + 1 < w.size() ? " " : "");
        return s + (k + 4 < w.size() ? "..." : "");
    };
    return out + ", in \"" + around(wa) + "\" then \"" + around(wb) + "\"";
}
}  // namespace

std::string first_difference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return "entry " + std::to_string(i + 1) + ", " + Parting(a[i], b[i]);
    if (a.size() != b.size())
        return "the first has " + std::to_string(a.size()) + " entries, the second " + std::to_string(b.size());
    return "";
}

}  // namespace validate
