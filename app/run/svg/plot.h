// Axes, data lines and legends on an SVG document: the common parts of the
// pictures.
#pragma once

#include <string>
#include <vector>

#include "svg/svg_doc.h"

namespace svg {

// A plot area on the page and the data range it shows. With equal_scale,
// the range is widened so one unit is as long along x as along y.
struct Axes {
    double x = 0, y = 0, w = 100, h = 100;  // page units
    double x0 = 0, x1 = 1, y0 = 0, y1 = 1;  // data units
    std::string x_label, y_label, title;
};

struct Series {
    std::string label;
    std::string colour;
    std::vector<Point> points;  // data units
    bool dashed = false;
};

// About `target` round tick values covering lo..hi.
std::vector<double> nice_ticks(double lo, double hi, int target);
// Widens a degenerate or empty range and rounds it out to ticks.
void fit_range(double& lo, double& hi, int target = 5);
void equal_scale(Axes& axes);

Point to_page(const Axes& axes, Point data);

void draw_axes(Document& doc, const Axes& axes, int ticks = 5);
void draw_series(Document& doc, const Axes& axes, const Series& series);
// A legend box at (x, y), one row per series.
void draw_legend(Document& doc, double x, double y, const std::vector<Series>& series);

}  // namespace svg
