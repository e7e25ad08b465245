#include <algorithm>

#include "sim/atomic_file.h"
#include "pictures.h"
#include "svg_doc.h"

namespace app {

namespace {
constexpr double unit = 3.2;  // page units per dialog unit
constexpr double frame = 6, caption = 26;
constexpr WORD button_class = 0x0080, static_class = 0x0082;
constexpr DWORD type_mask = 0x0F, groupbox = 0x07, ss_bitmap = 0x0E, ws_border = 0x00800000;

void Picture(svg::Document& doc, double x, double y, double w, double h, const Bitmap* bmp)
{
    if (!bmp || bmp->width == 0) {
        doc.rect(x, y, w, h, svg::Style{"#f4d0d0", "#a00", 1, 1, "4 2"});
        doc.text({x + w / 2, y + h / 2 + 4}, "(bitmap not found)", 10, "#a00", "middle");
        return;
    }
    // Stretched to the control, as a real-size-control static shows it; one
    // rectangle per run of equal pixels keeps the file small; the slight
    // overlap hides seams between anti-aliased rows.
    const double pw = w / bmp->width, ph = h / bmp->height;
    for (int r = 0; r < bmp->height; ++r) {
        int c = 0;
        while (c < bmp->width) {
            const uint8_t* p = &bmp->rgb[(static_cast<size_t>(r) * bmp->width + c) * 3];
            int end = c + 1;
            while (end < bmp->width && std::equal(p, p + 3, &bmp->rgb[(static_cast<size_t>(r) * bmp->width + end) * 3]))
                ++end;
            doc.rect(x + c * pw, y + r * ph, (end - c) * pw + 0.4, ph + 0.4,
                     svg::Style{svg::rgb(p[0] / 255.0, p[1] / 255.0, p[2] / 255.0), "", 1, 1, ""});
            c = end;
        }
    }
}
}  // namespace

void draw_dialog(const std::string& path, const sim::Dialog& d, const Bitmap* picture)
{
    const double cw = std::max<double>(d.cx, 60) * unit, ch = std::max<double>(d.cy, 40) * unit;
    const double ox = 30 + frame, oy = 50 + frame + caption;
    const double width = std::max(cw + 2 * frame + 60, 580.0), height = ch + 2 * frame + caption + 120;
    svg::Document doc(width, height);
    doc.title("Control dialog");
    doc.rect(0, 0, width, height, svg::Style{"#ffffff", "", 1, 1, ""});
    doc.text({30, 30}, "Control dialog as the template lays it out (" + std::to_string(d.cx) + " x " +
                           std::to_string(d.cy) + " dialog units)", 14, "#111", "start", true);
    doc.rect(30, 50, cw + 2 * frame, ch + 2 * frame + caption, svg::Style{"#dfe3ea", "#4a5468", 1.5, 1, ""}, 4);
    doc.rect(30 + 2, 52, cw + 2 * frame - 4, caption - 2, svg::Style{"#3b5b92", "", 1, 1, ""}, 3);
    doc.text({30 + 12, 50 + 18}, d.caption.empty() ? "(no caption)" : d.caption, 13, "#ffffff", "start", true);
    doc.text({30 + cw + 2 * frame - 14, 50 + 19}, "x", 14, "#ffffff", "middle", true);
    doc.rect(ox, oy, cw, ch, svg::Style{"#f0f0f0", "", 1, 1, ""});

    if (d.controls.empty())
        doc.text({ox + cw / 2, oy + ch / 2}, "the host found no template for this dialog", 11, "#a00", "middle");
    for (const sim::Control& c : d.controls) {
        const double x = ox + c.x * unit, y = oy + c.y * unit, w = c.cx * unit, h = c.cy * unit;
        if (c.class_atom == static_class && (c.style & type_mask) == ss_bitmap) {
            Picture(doc, x, y, w, h, picture);
            if (c.style & ws_border) doc.rect(x, y, w, h, svg::Style{"none", "#333", 1, 1, ""});
        } else if (c.class_atom == button_class && (c.style & type_mask) == groupbox) {
            doc.rect(x, y + 4 * unit / 2, w, h - 4 * unit / 2, svg::Style{"none", "#8a8f99", 1, 1, ""}, 2);
            const double tw = 6.2 * static_cast<double>(c.text.size()) + 8;
            doc.rect(x + 6, y - 2, tw, 12, svg::Style{"#f0f0f0", "", 1, 1, ""});
            doc.text({x + 10, y + 8}, c.text, 11, "#1a3d7a");
        } else if (c.class_atom == button_class) {
            doc.rect(x, y, w, h, svg::Style{c.enabled ? "#fbfbfb" : "#e4e4e4", c.enabled ? "#5b6270" : "#b0b0b0", 1.2, 1, ""}, 3);
            doc.text({x + w / 2, y + h / 2 + 4}, c.text, 12, c.enabled ? "#111" : "#a0a0a0", "middle", c.enabled);
            if (c.text.find_first_not_of(' ') == std::string::npos)
                doc.text({x + w / 2, y + h + 11}, "(blank button)", 9, "#777", "middle");
        } else {
            doc.rect(x, y, w, h, svg::Style{"none", "#999", 1, 1, "3 2"});
            doc.text({x + 2, y + 10}, c.text, 9, "#555");
        }
    }
    // What a reader wants to know about the buttons, spelled out.
    double ly = oy + ch + frame + 22;
    for (const sim::Control& c : d.controls) {
        if (c.class_atom != button_class || (c.style & type_mask) == groupbox) continue;
        const std::string label = c.text.find_first_not_of(' ') == std::string::npos ? "\" \" (blank)" : "\"" + c.text + "\"";
        doc.text({30, ly}, "button " + std::to_string(c.id) + " " + label + ": " + (c.enabled ? "enabled" : "disabled (greyed)"),
                 11, "#333");
        ly += 16;
    }
    sim::write_file_atomically(path, doc.str());
}

}  // namespace app
