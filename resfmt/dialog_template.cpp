#include "resfmt/dialog_template.h"

namespace resfmt {

namespace {

// A menu, class or text field: absent (0), a number (0xFFFF, then the number) or a string.
bool optional_name(ByteReader& in, const char* field, NameOrId& out)
{
    const std::uint16_t first = in.u16(field);
    if (first == 0) return false;
    if (first == 0xFFFF) {
        out = NameOrId::number(in.u16(field));
        return true;
    }
    std::u16string s(1, static_cast<char16_t>(first));
    s += in.text(field);
    out = NameOrId::text(utf8_from_utf16(s));
    return true;
}

DialogItemTemplate item(ByteReader& in)
{
    DialogItemTemplate it;
    it.style = in.u32("item style");
    it.exstyle = in.u32("item extended style");
    it.x = in.i16("item x");
    it.y = in.i16("item y");
    it.cx = in.i16("item width");
    it.cy = in.i16("item height");
    it.id = in.i16("item id");
    if (!optional_name(in, "item class", it.window_class))
        in.fail("control without a window class");
    optional_name(in, "item text", it.text);
    it.creation_data_size = in.u16("creation data size");
    in.take(it.creation_data_size, "creation data");
    return it;
}

}  // namespace

DialogTemplate parse_dialog_template(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size, "dialog template");
    if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF)
        in.fail("extended dialog template (DIALOGEX) is not supported; expected a standard DIALOG");
    DialogTemplate t;
    t.style = in.u32("style");
    t.exstyle = in.u32("extended style");
    const std::uint16_t count = in.u16("control count");
    t.x = in.i16("x");
    t.y = in.i16("y");
    t.cx = in.i16("width");
    t.cy = in.i16("height");
    t.has_menu = optional_name(in, "menu", t.menu);
    t.has_class = optional_name(in, "window class", t.window_class);
    t.caption = utf8_from_utf16(in.text("caption"));
    if (t.style & ds_setfont) {
        t.has_font = true;
        t.point_size = in.u16("point size");
        t.face = utf8_from_utf16(in.text("font face"));
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        in.align(4);
        if (in.at_end()) in.fail("control " + std::to_string(i + 1) + " of " + std::to_string(count) + " is missing");
        t.items.push_back(item(in));
    }
    t.size = in.offset();
    return t;
}

}  // namespace resfmt
