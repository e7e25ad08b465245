#include "scenario/standard_lines.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "util/text_lines.h"

namespace sim {

namespace {
std::string Format(std::initializer_list<double> values)
{
    std::string out;
    char buf[40];
    for (double v : values) {
        std::snprintf(buf, sizeof buf, "%.17g", v);
        if (!out.empty()) out += ' ';
        out += buf;
    }
    return out;
}

// Reads exactly n numbers and nothing after them.
bool ReadNumbers(std::istringstream& in, double* out, int n)
{
    for (int i = 0; i < n; ++i)
        if (!(in >> out[i])) return false;
    std::string rest;
    return !(in >> rest);
}

void Report(ParseStatus* status, const char* line, const std::string& why)
{
    if (!status) return;
    if (status->errors.size() >= ParseStatus::max_errors) {
        ++status->more_errors;
        return;
    }
    const ScenarioLine* at = status->block ? status->block->current() : nullptr;
    std::string where = status->block ? status->block->file : std::string("scenario");
    if (at) where += ":" + std::to_string(at->line_no);
    status->errors.push_back(where + ": " + why + ": " + shown_text(line));
}
}  // namespace

void read_standard_line(VesselRecord& r, const char* line, ParseStatus* st)
{
    std::istringstream in(line);
    std::string key;
    in >> key;
    double v[4];
    BodyState& b = r.body;
    if (key == "POS" || key == "VEL" || key == "AROT") {
        if (!ReadNumbers(in, v, 3)) return Report(st, line, "expected three numbers");
        VECTOR3& dst = key == "POS" ? b.pos : key == "VEL" ? b.vel : b.omega;
        dst = {v[0], v[1], v[2]};
    } else if (key == "ATT") {
        if (!ReadNumbers(in, v, 4)) return Report(st, line, "expected four numbers (w x y z)");
        const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
        if (!(n > 0) || !std::isfinite(n)) return Report(st, line, "attitude is not a rotation");
        // A saved attitude is a unit quaternion to within rounding: taken as
        // written, so that it saves again to the same text. Dividing by its
        // norm would move its last digits on every load.
        const bool unit = std::fabs(n - 1) <= 1e-12;
        for (int i = 0; i < 4; ++i) b.q[i] = unit ? v[i] : v[i] / n;
    } else if (key == "PROPELLANT") {
        if (!ReadNumbers(in, v, 2)) return Report(st, line, "expected a tank number and a mass");
        const double idx = v[0];
        if (idx < 0 || idx >= double(r.propellants.size()) || idx != static_cast<int>(idx))
            return Report(st, line, "no such propellant tank");
        Propellant& p = r.propellants[static_cast<size_t>(idx)];
        if (!(v[1] >= 0) || v[1] > p.capacity) return Report(st, line, "propellant mass outside 0 to the tank's capacity");
        p.mass = v[1];
    } else {
        Report(st, line, "unknown line");
    }
}

void write_standard_lines(const VesselRecord& r, ScenarioBlock& block)
{
    const BodyState& b = r.body;
    block.write_host_line("POS", Format({b.pos.x, b.pos.y, b.pos.z}));
    block.write_host_line("VEL", Format({b.vel.x, b.vel.y, b.vel.z}));
    block.write_host_line("ATT", Format({b.q[0], b.q[1], b.q[2], b.q[3]}));
    block.write_host_line("AROT", Format({b.omega.x, b.omega.y, b.omega.z}));
    for (size_t i = 0; i < r.propellants.size(); ++i)
        block.write_host_line("PROPELLANT", Format({double(i), r.propellants[i].mass}));
}

}  // namespace sim
