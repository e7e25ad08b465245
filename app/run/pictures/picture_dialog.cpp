#include <algorithm>
#include <cstdlib>

#include "pictures/pictures.h"
#include "sim/module_resources.h"
#include "svg/svg_doc.h"
#include "util/atomic_file.h"

namespace app {

namespace {
constexpr double unit = 3.2;  // page units per dialog unit
constexpr double frame = 6, caption = 26;
constexpr WORD button_class = 0x0080, static_class = 0x0082;
constexpr DWORD type_mask = 0x0F, groupbox = 0x07, ss_bitmap = 0x0E, ws_border = 0x00800000;

bool IsBitmapStatic(const sim::Control& c) { return c.class_atom == static_class && (c.style & type_mask) == ss_bitmap; }

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

// One dialog with its top left corner at (left, top); returns the height it took.
double DrawOne(svg::Document& doc, double left, double top, const DialogPicture& picture)
{
    const sim::Dialog& d = *picture.dialog;
    const double cw = std::max<double>(d.cx, 60) * unit, ch = std::max<double>(d.cy, 40) * unit;
    const double ox = left + frame, oy = top + 20 + frame + caption;
    doc.text({left, top}, (picture.module.empty() ? "A dialog" : "A dialog of " + picture.module) +
                              " as its template lays it out (" + std::to_string(d.cx) + " x " + std::to_string(d.cy) +
                              " dialog units)", 14, "#111", "start", true);
    doc.rect(left, top + 20, cw + 2 * frame, ch + 2 * frame + caption, svg::Style{"#dfe3ea", "#4a5468", 1.5, 1, ""}, 4);
    doc.rect(left + 2, top + 22, cw + 2 * frame - 4, caption - 2, svg::Style{"#3b5b92", "", 1, 1, ""}, 3);
    doc.text({left + 12, top + 38}, d.caption.empty() ? "(no caption)" : d.caption, 13, "#ffffff", "start", true);
    doc.text({left + cw + 2 * frame - 14, top + 39}, "x", 14, "#ffffff", "middle", true);
    doc.rect(ox, oy, cw, ch, svg::Style{"#f0f0f0", "", 1, 1, ""});

    if (d.controls.empty())
        doc.text({ox + cw / 2, oy + ch / 2}, "the host found no template for this dialog", 11, "#a00", "middle");
    for (const sim::Control& c : d.controls) {
        const double x = ox + c.x * unit, y = oy + c.y * unit, w = c.cx * unit, h = c.cy * unit;
        if (IsBitmapStatic(c)) {
            auto bmp = picture.bitmaps.find(c.text);
            Picture(doc, x, y, w, h, bmp == picture.bitmaps.end() ? nullptr : &bmp->second);
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
        if (!sim::is_button(c)) continue;
        const std::string label = c.text.find_first_not_of(' ') == std::string::npos ? "\" \" (blank)" : "\"" + c.text + "\"";
        doc.text({left, ly}, "button " + std::to_string(c.id) + " " + label + ": " + (c.enabled ? "enabled" : "disabled (greyed)"),
                 11, "#333");
        ly += 16;
    }
    return ly - top;
}
}  // namespace

DialogPicture dialog_picture(const sim::Host& host, const sim::Dialog& dialog, std::vector<std::string>& problems)
{
    DialogPicture out{&dialog, "", {}};
    const sim::Module* module = host.module_of(dialog.instance);
    if (!module) return out;
    out.module = module->class_name();
    for (const sim::Control& c : dialog.controls) {
        if (!IsBitmapStatic(c) || out.bitmaps.count(c.text)) continue;
        // The static's text names the bitmap by number, as "#107".
        char* end = nullptr;
        const long id = c.text.size() > 1 && c.text[0] == '#' ? std::strtol(c.text.c_str() + 1, &end, 10) : -1;
        const std::string what = "the bitmap " + c.text + " of " + module->class_name() + "'s dialog";
        if (id < 0 || id > 0xFFFF || *end != '\0') {
            problems.push_back(what + ": not a resource number; drawn without it");
            continue;
        }
        try {
            const std::vector<std::uint8_t> bytes =
                sim::module_resource(*module, sim::resource_type_bitmap, static_cast<std::uint16_t>(id));
            if (bytes.empty()) throw std::runtime_error(what + ": not among the module's resources");
            out.bitmaps[c.text] = decode_bitmap(bytes, what);
        } catch (const std::runtime_error& e) {
            problems.push_back(std::string(e.what()) + "; drawn without it");
        }
    }
    return out;
}

std::vector<ControlBox> dialog_boxes(const DialogPicture& picture)
{
    const sim::Dialog& d = *picture.dialog;
    const double left = dialogs_margin, top = dialogs_margin;
    const double cw = std::max<double>(d.cx, 60) * unit;
    const double ox = left + frame, oy = top + 20 + frame + caption;
    std::vector<ControlBox> boxes;
    for (const sim::Control& c : d.controls)
        if (sim::is_button(c)) boxes.push_back({std::to_string(c.id), c.text, c.enabled, ox + c.x * unit, oy + c.y * unit, c.cx * unit, c.cy * unit});
    boxes.push_back({"close", "Close", true, left + cw + 2 * frame - 24, top + 24, 20, 20});
    return boxes;
}

void draw_dialogs(const std::string& path, const std::vector<DialogPicture>& dialogs)
{
    sim::write_file_atomically(path, dialogs_svg(dialogs));
}

std::string dialogs_svg(const std::vector<DialogPicture>& dialogs)
{
    double width = 580, height = 30;
    for (const DialogPicture& p : dialogs) {
        width = std::max(width, std::max<double>(p.dialog->cx, 60) * unit + 2 * frame + 60);
        height += std::max<double>(p.dialog->cy, 40) * unit + 2 * frame + caption + 20 + 22 +
                  16.0 * static_cast<double>(std::count_if(p.dialog->controls.begin(), p.dialog->controls.end(),
                                                           [](const sim::Control& c) { return sim::is_button(c); })) +
                  30;
    }
    svg::Document doc(width, height);
    doc.title(dialogs.size() == 1 ? "Open dialog" : "Open dialogs");
    doc.rect(0, 0, width, height, svg::Style{"#ffffff", "", 1, 1, ""});
    double top = dialogs_margin;
    for (const DialogPicture& p : dialogs) top += DrawOne(doc, dialogs_margin, top, p) + dialogs_margin;
    return doc.str();
}

}  // namespace app
