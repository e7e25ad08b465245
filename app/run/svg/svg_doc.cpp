#include "svg/svg_doc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "markup/xml_text.h"

namespace svg {

namespace {
std::string Num(double v)
{
    if (!std::isfinite(v)) v = 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Attrs(const Style& s)
{
    std::string a = " fill=\"" + app::xml_text(s.fill.empty() ? "none" : s.fill) + "\"";
    if (!s.stroke.empty()) a += " stroke=\"" + app::xml_text(s.stroke) + "\" stroke-width=\"" + Num(s.stroke_width) + "\"";
    if (s.opacity < 1) a += " opacity=\"" + Num(s.opacity) + "\"";
    if (!s.dash.empty()) a += " stroke-dasharray=\"" + app::xml_text(s.dash) + "\"";
    return a;
}

std::string Points(const std::vector<Point>& pts)
{
    std::string out;
    for (const Point& p : pts) out += (out.empty() ? "" : " ") + Num(p.x) + "," + Num(p.y);
    return out;
}
}  // namespace

std::string rgb(double r, double g, double b)
{
    auto c = [](double v) { return std::to_string(static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255))); };
    return "rgb(" + c(r) + "," + c(g) + "," + c(b) + ")";
}

Document::Document(double width, double height) : width_(width), height_(height) {}

void Document::rect(double x, double y, double w, double h, const Style& style, double corner)
{
    body_ += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(std::max(0.0, w)) + "\" height=\"" +
             Num(std::max(0.0, h)) + "\"" + (corner > 0 ? " rx=\"" + Num(corner) + "\"" : "") + Attrs(style) + "/>\n";
}

void Document::line(Point a, Point b, const Style& style)
{
    body_ += "<line x1=\"" + Num(a.x) + "\" y1=\"" + Num(a.y) + "\" x2=\"" + Num(b.x) + "\" y2=\"" + Num(b.y) + "\"" +
             Attrs(style) + "/>\n";
}

void Document::polyline(const std::vector<Point>& points, const Style& style)
{
    if (points.empty()) return;
    body_ += "<polyline points=\"" + Points(points) + "\"" + Attrs(style) + " stroke-linejoin=\"round\"/>\n";
}

void Document::polygon(const std::vector<Point>& points, const Style& style)
{
    if (points.empty()) return;
    body_ += "<polygon points=\"" + Points(points) + "\"" + Attrs(style) + " stroke-linejoin=\"round\"/>\n";
}

void Document::circle(Point c, double r, const Style& style)
{
    body_ += "<circle cx=\"" + Num(c.x) + "\" cy=\"" + Num(c.y) + "\" r=\"" + Num(r) + "\"" + Attrs(style) + "/>\n";
}

void Document::text(Point at, const std::string& content, double size, const std::string& colour,
                    const std::string& anchor, bool bold, double rotate)
{
    body_ += "<text x=\"" + Num(at.x) + "\" y=\"" + Num(at.y) + "\" font-size=\"" + Num(size) + "\" fill=\"" +
             app::xml_text(colour) + "\" text-anchor=\"" + app::xml_text(anchor) + "\"" + (bold ? " font-weight=\"bold\"" : "") +
             (rotate != 0 ? " transform=\"rotate(" + Num(rotate) + " " + Num(at.x) + " " + Num(at.y) + ")\"" : "") +
             ">" + app::xml_text(content) + "</text>\n";
}

void Document::title(const std::string& content) { body_ += "<title>" + app::xml_text(content) + "</title>\n"; }

std::string Document::str() const
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           Num(width_) + "\" height=\"" + Num(height_) + "\" viewBox=\"0 0 " + Num(width_) + " " + Num(height_) +
           "\" font-family=\"DejaVu Sans, Helvetica, Arial, sans-serif\">\n" + body_ + "</svg>\n";
}

}  // namespace svg
