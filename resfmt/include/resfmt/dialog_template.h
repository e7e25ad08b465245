// A dialog template in the standard (DLGTEMPLATE) form, as a resource
// compiler stores a DIALOG statement: every field of the header and of each
// control's item. The extended form (DLGTEMPLATEEX) is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "resfmt/resource_file.h"

namespace resfmt {

constexpr std::uint32_t ds_setfont = 0x40;

struct DialogItemTemplate {
    std::uint32_t style = 0;
    std::uint32_t exstyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::int16_t id = 0;        // stored as 16 bits: 0xFFFF is -1
    NameOrId window_class;      // a predefined class number (0x0080 button, 0x0082 static) or a name
    NameOrId text;              // a string or a resource number
    std::uint16_t creation_data_size = 0;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t exstyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    bool has_menu = false;
    NameOrId menu;
    bool has_class = false;     // false: the system's dialog class
    NameOrId window_class;
    std::string caption;
    bool has_font = false;      // DS_SETFONT in the style
    std::uint16_t point_size = 0;
    std::string face;
    std::vector<DialogItemTemplate> items;
    std::size_t size = 0;       // bytes the template took, trailing padding excluded
};

// Throws ParseError (a std::runtime_error) for an extended template and for
// any field that would lie past `size`.
DialogTemplate parse_dialog_template(const std::uint8_t* data, std::size_t size);

}  // namespace resfmt
