#include "svg/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace svg {

namespace {
std::string Label(double v, double step)
{
    char buf[32];
    int decimals = 0;
    while (decimals < 6 && std::abs(step * std::pow(10, decimals) - std::round(step * std::pow(10, decimals))) > 1e-6)
        ++decimals;
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::abs(v) < step * 1e-6 ? 0.0 : v);
    return buf;
}

double Step(double lo, double hi, int target)
{
    const double raw = (hi - lo) / std::max(1, target);
    const double mag = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * mag) return m * mag;
    return 10 * mag;
}
}  // namespace

std::vector<double> nice_ticks(double lo, double hi, int target)
{
    std::vector<double> out;
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi)) return out;
    const double step = Step(lo, hi, target);
    for (double v = std::ceil(lo / step - 1e-9) * step; v <= hi + step * 1e-9; v += step) out.push_back(v);
    return out;
}

void fit_range(double& lo, double& hi, int target)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi) lo = 0, hi = 1;
    if (hi - lo < 1e-12 * std::max(1.0, std::abs(hi))) {
        const double pad = std::max(1e-3, std::abs(hi) * 0.1);
        lo -= pad;
        hi += pad;
    }
    const double step = Step(lo, hi, target);
    lo = std::floor(lo / step + 1e-9) * step;
    hi = std::ceil(hi / step - 1e-9) * step;
}

void equal_scale(Axes& a)
{
    const double sx = (a.x1 - a.x0) / a.w, sy = (a.y1 - a.y0) / a.h;
    if (sx > sy) {
        const double mid = (a.y0 + a.y1) / 2, half = sx * a.h / 2;
        a.y0 = mid - half;
        a.y1 = mid + half;
    } else {
        const double mid = (a.x0 + a.x1) / 2, half = sy * a.w / 2;
        a.x0 = mid - half;
        a.x1 = mid + half;
    }
}

Point to_page(const Axes& a, Point d)
{
    return {a.x + (d.x - a.x0) / (a.x1 - a.x0) * a.w, a.y + a.h - (d.y - a.y0) / (a.y1 - a.y0) * a.h};
}

void draw_axes(Document& doc, const Axes& a, int ticks)
{
    Style frame;
    frame.stroke = "#444";
    Style grid;
    grid.stroke = "#ddd";
    grid.stroke_width = 0.7;
    doc.rect(a.x, a.y, a.w, a.h, Style{"#fcfcfc", "", 1, 1, ""});
    const auto xt = nice_ticks(a.x0, a.x1, ticks), yt = nice_ticks(a.y0, a.y1, ticks);
    const double xs = xt.size() > 1 ? xt[1] - xt[0] : 1, ys = yt.size() > 1 ? yt[1] - yt[0] : 1;
    for (double v : xt) {
        const Point p = to_page(a, {v, a.y0});
        doc.line({p.x, a.y}, {p.x, a.y + a.h}, grid);
        doc.line({p.x, a.y + a.h}, {p.x, a.y + a.h + 4}, frame);
        doc.text({p.x, a.y + a.h + 16}, Label(v, xs), 11, "#333", "middle");
    }
    for (double v : yt) {
        const Point p = to_page(a, {a.x0, v});
        doc.line({a.x, p.y}, {a.x + a.w, p.y}, grid);
        doc.line({a.x - 4, p.y}, {a.x, p.y}, frame);
        doc.text({a.x - 7, p.y + 4}, Label(v, ys), 11, "#333", "end");
    }
    doc.rect(a.x, a.y, a.w, a.h, frame);
    if (!a.x_label.empty()) doc.text({a.x + a.w / 2, a.y + a.h + 34}, a.x_label, 12, "#222", "middle");
    if (!a.y_label.empty()) doc.text({a.x - 48, a.y + a.h / 2}, a.y_label, 12, "#222", "middle", false, -90);
    if (!a.title.empty()) doc.text({a.x, a.y - 8}, a.title, 13, "#111", "start", true);
}

void draw_series(Document& doc, const Axes& a, const Series& s)
{
    std::vector<Point> page;
    page.reserve(s.points.size());
    for (const Point& p : s.points) page.push_back(to_page(a, p));
    Style st;
    st.stroke = s.colour;
    st.stroke_width = 1.8;
    if (s.dashed) st.dash = "6 3";
    if (page.size() == 1) doc.circle(page[0], 2.5, Style{s.colour, "", 1, 1, ""});
    else doc.polyline(page, st);
}

void draw_legend(Document& doc, double x, double y, const std::vector<Series>& series)
{
    if (series.empty()) return;
    size_t longest = 0;
    for (const Series& s : series) longest = std::max(longest, s.label.size());
    const double w = 40 + 6.5 * static_cast<double>(longest), h = 8 + 16 * static_cast<double>(series.size());
    doc.rect(x, y, w, h, Style{"#ffffff", "#999", 1, 0.9, ""}, 3);
    for (size_t i = 0; i < series.size(); ++i) {
        const double row = y + 14 + 16 * static_cast<double>(i);
        Style st;
        st.stroke = series[i].colour;
        st.stroke_width = 2.5;
        if (series[i].dashed) st.dash = "6 3";
        doc.line({x + 6, row - 4}, {x + 28, row - 4}, st);
        doc.text({x + 34, row}, series[i].label, 11);
    }
}

}  // namespace svg
