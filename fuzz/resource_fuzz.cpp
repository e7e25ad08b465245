// The stand-in host's readers of a module's resources: a .res file, the
// dialog templates in it, and the panel checks. Any input must end in a
// result or a ParseError, never in a read outside the input.
#include <cstddef>
#include <cstdint>

#include "resfmt/dialog_template.h"
#include "panel_measures.h"
#include "resfmt/resource_file.h"

namespace {

void parse_template(const std::uint8_t* data, std::size_t size)
{
    try {
        resfmt::parse_dialog_template(data, size);
    } catch (const resfmt::ParseError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        for (const resfmt::ResourceEntry& e : resfmt::parse_resource_file(data, size)) {
            if (e.type == resfmt::NameOrId::number(resfmt::rt_dialog)) parse_template(e.data.data(), e.data.size());
            if (e.type == resfmt::NameOrId::number(resfmt::rt_bitmap)) mervex::panel::check_dib(e.data.data(), e.data.size());
        }
    } catch (const resfmt::ParseError&) {
    }
    // The same bytes as a bare template and a bare bitmap.
    parse_template(data, size);
    mervex::panel::check_dib(data, size);
    return 0;
}
