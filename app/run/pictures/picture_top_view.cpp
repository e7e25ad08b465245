#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pictures/craft_drawing.h"
#include "pictures/pictures.h"
#include "util/atomic_file.h"

namespace app {

namespace {
std::string Fmt(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

svg::Axes CraftAxes(sim::Craft craft, MeshLibrary& meshes, double x, double y, double w, double h)
{
    svg::Axes a;
    a.x = x, a.y = y, a.w = w, a.h = h;
    craft_extent(craft, meshes, a.x0, a.x1, a.y0, a.y1);
    a.x0 -= 0.5, a.x1 += 0.5, a.y0 -= 0.5, a.y1 += 0.5;
    svg::equal_scale(a);
    a.x_label = "x (m), +x right";
    a.y_label = "z (m), +z forward";
    return a;
}

void DrawAxisArrows(svg::Document& doc, const svg::Axes& a)
{
    const svg::Point o{a.x + 18, a.y + a.h - 18};
    svg::Style s;
    s.stroke = "#444";
    s.stroke_width = 1.5;
    doc.line(o, {o.x + 26, o.y}, s);
    doc.line(o, {o.x, o.y - 26}, s);
    doc.text({o.x + 29, o.y + 4}, "+x", 10, "#444");
    doc.text({o.x - 4, o.y - 29}, "+z", 10, "#444");
    doc.text({o.x + 4, o.y + 12}, "viewed from +y", 9, "#666");
}
}  // namespace

void draw_top_view(const std::string& path, sim::Host& host, MeshLibrary& meshes, double t)
{
    const std::vector<sim::Craft> craft = host.all_craft();
    const size_t shown = std::min(craft.size(), top_view_max_craft);
    const size_t columns = std::clamp<size_t>(shown, 1, top_view_columns);
    const size_t rows = std::max<size_t>((shown + columns - 1) / columns, 1);
    const double panel = 440, margin = 70, top = craft.size() > shown ? 80 : 60, row_h = panel + 80;
    const double width = margin + static_cast<double>(columns) * (panel + margin) + 200;
    const double height = top + static_cast<double>(rows) * row_h;
    svg::Document doc(width, height);
    doc.title("Craft seen from above");
    doc.rect(0, 0, width, height, svg::Style{"#ffffff", "", 1, 1, ""});
    doc.text({margin, 28}, "Seen from above (+y) at t = " + Fmt("%.2f", t) + " s", 16, "#111", "start", true);
    if (craft.size() > shown)
        doc.text({margin, 50},
                 std::to_string(shown) + " of " + std::to_string(craft.size()) +
                     " craft shown: the first in the scenario's order",
                 13, "#a00");
    for (size_t i = 0; i < shown; ++i) {
        const sim::Craft r = craft[i];
        const double x = margin + static_cast<double>(i % columns) * (panel + margin);
        const double y = top + static_cast<double>(i / columns) * row_h;
        svg::Axes a = CraftAxes(r, meshes, x, y, panel, panel);
        const std::vector<double> states = r.animation_states();
        const double state = states.empty() ? NAN : states.front();
        a.title = r.name() + " (" + r.class_name() + "), first animation at " + Fmt("%.3f", state);
        svg::draw_axes(doc, a, 6);
        const auto& drawn = host.drawn_beacons(r);
        if (!draw_craft_top(doc, a, r, drawn.empty() ? r.beacons() : drawn, meshes))
            doc.text({a.x + a.w / 2, a.y + a.h / 2}, "mesh not found: beacons only", 12, "#a00", "middle");
        DrawAxisArrows(doc, a);
    }
    svg::draw_legend(doc, margin + static_cast<double>(columns) * (panel + margin) - margin + 20, top, craft_legend());
    sim::write_file_atomically(path, doc.str());
}

void draw_deployment_strip(const std::string& path, sim::Craft craft, MeshLibrary& meshes,
                           const std::vector<double>& states)
{
    const double panel = 260, margin = 60, top = 70;
    const double width = margin + static_cast<double>(states.size()) * (panel + margin);
    svg::Document doc(width, top + panel + 130);
    doc.title("Animation states");
    doc.rect(0, 0, width, top + panel + 130, svg::Style{"#ffffff", "", 1, 1, ""});
    doc.text({margin, 28}, craft.name() + ": every animation set to each state in turn, seen from above", 16, "#111",
             "start", true);
    double x = margin;
    for (double s : states) {
        const std::vector<double> all_at_s(craft.animation_states().size(), s);
        svg::Axes a = CraftAxes(craft, meshes, x, top, panel, panel);
        a.title = "state " + Fmt("%.2f", s);
        a.y_label = x == margin ? a.y_label : "";
        svg::draw_axes(doc, a, 6);
        draw_craft_top(doc, a, craft, {}, meshes, &all_at_s);
        x += panel + margin;
    }
    auto legend = craft_legend();
    legend.resize(2);
    svg::draw_legend(doc, margin, top + panel + 60, legend);
    sim::write_file_atomically(path, doc.str());
}

}  // namespace app
