// A small SVG document builder: elements are appended as text in drawing
// order, with every attribute value and text escaped (markup/xml_text.h).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace svg {

struct Point {
    double x = 0, y = 0;
};

// Presentation of one element; empty strings leave the attribute out.
struct Style {
    std::string fill = "none";
    std::string stroke;
    double stroke_width = 1;
    double opacity = 1;
    std::string dash;  // stroke-dasharray
};

class Document {
public:
    Document(double width, double height);

    void rect(double x, double y, double w, double h, const Style& style, double corner = 0);
    void line(Point a, Point b, const Style& style);
    void polyline(const std::vector<Point>& points, const Style& style);
    void polygon(const std::vector<Point>& points, const Style& style);
    void circle(Point c, double r, const Style& style);
    // anchor: "start", "middle" or "end".
    void text(Point at, const std::string& content, double size, const std::string& colour = "#222",
              const std::string& anchor = "start", bool bold = false, double rotate = 0);
    void title(const std::string& content);  // a tooltip for the document

    std::string str() const;

private:
    double width_, height_;
    std::string body_;
};

// An rgb() colour from components in 0..1.
std::string rgb(double r, double g, double b);

}  // namespace svg
