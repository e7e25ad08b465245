#include <algorithm>
#include <cmath>
#include <functional>

#include "sim/atomic_file.h"
#include "pictures.h"
#include "plot.h"

namespace app {

namespace {
const char* const palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b"};
const char* const axis_colour[] = {"#d62728", "#2ca02c", "#1f77b4"};  // x, y, z
constexpr double rad_to_deg = 57.29577951308232;

using Pick = std::function<double(const CraftSample&)>;

struct Panel {
    std::string title, unit;
    std::vector<std::pair<std::string, Pick>> values;  // label suffix, value
};
}  // namespace

void draw_telemetry(const std::string& path, const std::vector<Sample>& samples)
{
    std::vector<std::string> names;
    for (const Sample& s : samples)
        for (const CraftSample& c : s.craft)
            if (std::find(names.begin(), names.end(), c.name) == names.end()) names.push_back(c.name);

    const std::vector<Panel> panels = {
        {"Solar array state (1 stowed, 0 deployed)", "state", {{"", [](const CraftSample& c) { return c.array_state; }}}},
        {"Propellant", "mass (kg)", {{"", [](const CraftSample& c) { return c.propellant; }}}},
        {"Speed (inertial frame)", "speed (m/s)", {{"", [](const CraftSample& c) { return c.speed; }}}},
        {"Angular rates (body frame)",
         "rate (deg/s)",
         {{" x (pitch axis)", [](const CraftSample& c) { return c.omega.x * rad_to_deg; }},
          {" y (yaw axis)", [](const CraftSample& c) { return c.omega.y * rad_to_deg; }},
          {" z (roll axis)", [](const CraftSample& c) { return c.omega.z * rad_to_deg; }}}},
    };

    const double left = 90, plot_w = 640, plot_h = 150, gap = 75, top = 60;
    const double width = left + plot_w + 260, height = top + panels.size() * (plot_h + gap) + 10;
    svg::Document doc(width, height);
    doc.title("Telemetry");
    doc.rect(0, 0, width, height, svg::Style{"#ffffff", "", 1, 1, ""});
    doc.text({left, 30}, "Telemetry over the run", 16, "#111", "start", true);
    const double t0 = samples.empty() ? 0 : samples.front().t, t1 = samples.empty() ? 1 : samples.back().t;

    double y = top;
    for (const Panel& p : panels) {
        std::vector<svg::Series> series;
        double lo = 1e300, hi = -1e300;
        for (size_t n = 0; n < names.size(); ++n) {
            for (size_t k = 0; k < p.values.size(); ++k) {
                svg::Series s;
                s.label = names[n] + p.values[k].first;
                s.colour = p.values.size() > 1 ? axis_colour[k] : palette[n % 6];
                s.dashed = p.values.size() > 1 && n > 0;
                for (const Sample& smp : samples)
                    for (const CraftSample& c : smp.craft)
                        if (c.name == names[n]) {
                            const double v = p.values[k].second(c);
                            if (!std::isfinite(v)) continue;
                            s.points.push_back({smp.t, v});
                            lo = std::min(lo, v), hi = std::max(hi, v);
                        }
                series.push_back(std::move(s));
            }
        }
        svg::Axes a;
        a.x = left, a.y = y, a.w = plot_w, a.h = plot_h;
        a.x0 = t0, a.x1 = t1 > t0 ? t1 : t0 + 1;
        a.y0 = lo, a.y1 = hi;
        svg::fit_range(a.y0, a.y1);
        a.title = p.title;
        a.x_label = "time since start (s)";
        a.y_label = p.unit;
        svg::draw_axes(doc, a);
        for (const svg::Series& s : series) svg::draw_series(doc, a, s);
        svg::draw_legend(doc, left + plot_w + 20, y, series);
        y += plot_h + gap;
    }
    sim::write_file_atomically(path, doc.str());
}

}  // namespace app
