#include <algorithm>
#include <cmath>

#include "pictures/pictures.h"
#include "svg/plot.h"
#include "util/atomic_file.h"

namespace app {

namespace {
const char* const palette[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#8c564b"};
const char* const axis_colour[] = {"#d62728", "#2ca02c", "#1f77b4"};  // x, y, z

struct Panel {
    std::string title, unit;
    std::vector<std::pair<std::string, Quantity>> values;  // label suffix, quantity
};

void Widen(double& lo, double& hi, const std::vector<svg::Point>& points)
{
    for (const svg::Point& p : points) lo = std::min(lo, p.y), hi = std::max(hi, p.y);
}

// The shaded area between a band's least and greatest values.
void DrawBand(svg::Document& doc, const svg::Axes& a, const TelemetryPlot::Band& band, const std::string& colour)
{
    std::vector<svg::Point> outline;
    for (const svg::Point& p : band.low) outline.push_back(svg::to_page(a, p));
    for (auto it = band.high.rbegin(); it != band.high.rend(); ++it) outline.push_back(svg::to_page(a, *it));
    doc.polygon(outline, svg::Style{colour, "", 1, 0.2, ""});
}
}  // namespace

void draw_telemetry(const std::string& path, const TelemetryPlot& plot)
{
    const std::vector<Panel> panels = {
        {"State of the first animation", "state", {{"", Quantity::animation}}},
        {"Propellant", "mass (kg)", {{"", Quantity::propellant}}},
        {"Speed (inertial frame)", "speed (m/s)", {{"", Quantity::speed}}},
        {"Angular rates (body frame)",
         "rate (deg/s)",
         {{" x (pitch axis)", Quantity::rate_x}, {" y (yaw axis)", Quantity::rate_y}, {" z (roll axis)", Quantity::rate_z}}},
    };

    // Panels stand far enough apart for the longest legend (three rates per craft).
    const size_t rows = plot.banded() ? 3 : 3 * plot.craft();
    const double left = 90, plot_w = 640, plot_h = 150, top = 60;
    const double pitch = std::max(plot_h + 75, 8 + 16 * static_cast<double>(rows) + 30);
    const double width = left + plot_w + 300, height = top + panels.size() * pitch + 10;
    svg::Document doc(width, height);
    doc.title("Telemetry");
    doc.rect(0, 0, width, height, svg::Style{"#ffffff", "", 1, 1, ""});
    doc.text({left, 30}, "Telemetry over the run", 16, "#111", "start", true);
    if (plot.banded())
        doc.text({left, 48},
                 std::to_string(plot.craft()) + " craft: each line is the median over all craft, the shaded band "
                 "runs from the least to the greatest value",
                 12, "#444");
    const double t0 = plot.first_t(), t1 = plot.last_t();

    double y = top;
    for (const Panel& p : panels) {
        std::vector<svg::Series> series;
        double lo = 1e300, hi = -1e300;
        for (size_t k = 0; k < p.values.size(); ++k) {
            const Quantity q = p.values[k].second;
            const std::string colour = p.values.size() > 1 ? axis_colour[k] : palette[0];
            if (plot.banded()) {
                const TelemetryPlot::Band& b = plot.band(q);
                Widen(lo, hi, b.low);
                Widen(lo, hi, b.high);
                series.push_back({"median" + p.values[k].first, colour, b.median, false});
                continue;
            }
            for (size_t n = 0; n < plot.craft(); ++n) {
                Widen(lo, hi, plot.lines(q)[n]);
                series.push_back({plot.names()[n] + p.values[k].first,
                                  p.values.size() > 1 ? colour : palette[n % 6], plot.lines(q)[n],
                                  p.values.size() > 1 && n > 0});
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
        if (plot.banded())
            for (size_t k = 0; k < p.values.size(); ++k) DrawBand(doc, a, plot.band(p.values[k].second), series[k].colour);
        for (const svg::Series& s : series) svg::draw_series(doc, a, s);
        svg::draw_legend(doc, left + plot_w + 20, y, series);
        y += pitch;
    }
    sim::write_file_atomically(path, doc.str());
}

}  // namespace app
