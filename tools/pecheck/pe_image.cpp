#include "pe_image.h"

#include <algorithm>
#include <string>

#include "resfmt/byte_reader.h"

namespace pecheck {

namespace {
struct Section {
    std::uint32_t rva = 0, virtual_size = 0, raw_offset = 0, raw_size = 0;
};

class Image {
public:
    Image(const std::vector<std::uint8_t>& file, const std::string& what) : file_(file), what_(what) {}

    [[noreturn]] void fail(const std::string& why, std::size_t at) const
    {
        throw resfmt::ParseError(what_ + ": " + why + " (at offset " + std::to_string(at) + ")");
    }
    const std::uint8_t* at(std::size_t offset, std::size_t n, const char* field) const
    {
        if (offset > file_.size() || n > file_.size() - offset) fail(std::string(field) + " lies past the end", offset);
        return file_.data() + offset;
    }
    std::uint16_t u16(std::size_t offset, const char* field) const
    {
        const std::uint8_t* p = at(offset, 2, field);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    std::uint32_t u32(std::size_t offset, const char* field) const
    {
        const std::uint8_t* p = at(offset, 4, field);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    }
    // File offset of an address relative to the image's base.
    std::size_t offset_of(std::uint32_t rva, const char* field) const
    {
        for (const Section& s : sections)
            if (rva >= s.rva && rva - s.rva < std::max(s.virtual_size, s.raw_size) && rva - s.rva < s.raw_size)
                return std::size_t(s.raw_offset) + (rva - s.rva);
        fail(std::string(field) + " at address " + std::to_string(rva) + " is in no section", 0);
    }
    std::string c_string(std::uint32_t rva, const char* field) const
    {
        std::size_t o = offset_of(rva, field);
        std::string out;
        for (;; ++o) {
            const char c = static_cast<char>(*at(o, 1, field));
            if (!c) return out;
            if (out.size() > 4096) fail(std::string(field) + " is not terminated", o);
            out += c;
        }
    }

    std::vector<Section> sections;

private:
    const std::vector<std::uint8_t>& file_;
    std::string what_;
};

void ReadExports(const Image& img, std::uint32_t rva, PeImage& pe)
{
    const std::size_t d = img.offset_of(rva, "export directory");
    pe.export_name = img.c_string(img.u32(d + 12, "export name"), "export name");
    const std::uint32_t base = img.u32(d + 16, "ordinal base");
    const std::uint32_t functions = img.u32(d + 20, "export count");
    const std::uint32_t names = img.u32(d + 24, "export name count");
    if (functions > 65536 || names > functions) img.fail("export counts out of range", d);
    const std::size_t name_table = img.offset_of(img.u32(d + 32, "name table"), "name table");
    const std::size_t ordinal_table = img.offset_of(img.u32(d + 36, "ordinal table"), "ordinal table");
    std::vector<std::string> by_index(functions);
    for (std::uint32_t i = 0; i < names; ++i) {
        const std::uint16_t index = img.u16(ordinal_table + 2 * i, "name ordinal");
        if (index >= functions) img.fail("export name points past the address table", ordinal_table + 2 * i);
        by_index[index] = img.c_string(img.u32(name_table + 4 * i, "export name"), "export name");
    }
    const std::size_t addresses = img.offset_of(img.u32(d + 28, "address table"), "address table");
    for (std::uint32_t i = 0; i < functions; ++i)
        if (img.u32(addresses + 4 * i, "export address") != 0) pe.exports.push_back({base + i, by_index[i]});
}

// The names one DLL's lookup table lists; entries are 8 bytes wide in a 64-bit image.
std::vector<std::string> ImportedNames(const Image& img, std::uint32_t table, bool wide)
{
    std::vector<std::string> names;
    const std::size_t width = wide ? 8 : 4;
    std::size_t at = img.offset_of(table, "import lookup table");
    for (int n = 0; n < 65536; ++n, at += width) {
        const std::uint32_t low = img.u32(at, "import lookup entry");
        const std::uint32_t high = wide ? img.u32(at + 4, "import lookup entry") : 0;
        if (low == 0 && high == 0) return names;
        const bool by_ordinal = wide ? (high & 0x80000000u) != 0 : (low & 0x80000000u) != 0;
        names.push_back(by_ordinal ? std::string() : img.c_string(low + 2, "imported name"));
    }
    img.fail("import lookup table has no end", at);
}

void ReadImports(const Image& img, std::uint32_t rva, bool wide, PeImage& pe)
{
    std::size_t d = img.offset_of(rva, "import directory");
    for (int n = 0; n < 4096; ++n, d += 20) {
        const std::uint32_t name = img.u32(d + 12, "import name");
        const std::uint32_t thunks = img.u32(d + 16, "import thunks");
        if (name == 0 && thunks == 0) return;
        pe.import_dlls.push_back(img.c_string(name, "import name"));
        const std::uint32_t lookup = img.u32(d, "import lookup table");
        pe.imports.push_back({pe.import_dlls.back(), ImportedNames(img, lookup ? lookup : thunks, wide)});
    }
    img.fail("import directory has no end", d);
}

// The delay-import descriptors: 32 bytes each, addresses relative to the
// image's base (attribute bit 0; the old absolute form is refused).
void ReadDelayImports(const Image& img, std::uint32_t rva, bool wide, PeImage& pe)
{
    std::size_t d = img.offset_of(rva, "delay-import directory");
    for (int n = 0; n < 4096; ++n, d += 32) {
        const std::uint32_t name = img.u32(d + 4, "delay-import name");
        if (name == 0) return;
        if (!(img.u32(d, "delay-import attributes") & 1))
            img.fail("delay-import descriptor holds absolute addresses", d);
        const std::string dll = img.c_string(name, "delay-import name");
        pe.delay_imports.push_back({dll, ImportedNames(img, img.u32(d + 16, "delay-import name table"), wide)});
    }
    img.fail("delay-import directory has no end", d);
}

// Type, name and language levels, numeric entries only.
void ReadResources(const Image& img, std::uint32_t rva, PeImage& pe)
{
    const std::size_t root = img.offset_of(rva, "resource directory");
    auto entries = [&](std::size_t dir, auto&& each) {
        const unsigned count = img.u16(dir + 12, "named entries") + img.u16(dir + 14, "id entries");
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t e = dir + 16 + 8 * std::size_t(i);
            const std::uint32_t id = img.u32(e, "entry id");
            const std::uint32_t target = img.u32(e + 4, "entry target");
            if (!(id & 0x80000000u)) each(id, target);
        }
    };
    auto subdir = [&](std::uint32_t target, std::size_t at) {
        if (!(target & 0x80000000u)) img.fail("resource level is not a directory", at);
        return root + (target & 0x7FFFFFFFu);
    };
    entries(root, [&](std::uint32_t type, std::uint32_t t1) {
        entries(subdir(t1, root), [&](std::uint32_t id, std::uint32_t t2) {
            entries(subdir(t2, root), [&](std::uint32_t language, std::uint32_t t3) {
                if (t3 & 0x80000000u) img.fail("resource language entry is a directory", root);
                const std::size_t leaf = root + t3;
                const std::uint32_t size = img.u32(leaf + 4, "resource size");
                const std::size_t data = img.offset_of(img.u32(leaf, "resource data"), "resource data");
                const std::uint8_t* p = img.at(data, size, "resource data");
                pe.resources.push_back({type, id, language, std::vector<std::uint8_t>(p, p + size)});
            });
        });
    });
}
}  // namespace

PeImage parse_pe(const std::vector<std::uint8_t>& file, const std::string& what)
{
    Image img(file, what);
    if (img.u16(0, "DOS signature") != 0x5A4D) img.fail("no MZ signature", 0);
    const std::size_t pe_at = img.u32(0x3C, "PE header offset");
    if (img.u32(pe_at, "PE signature") != 0x00004550) img.fail("no PE signature", pe_at);
    PeImage pe;
    const std::size_t coff = pe_at + 4;
    pe.machine = img.u16(coff, "machine");
    const unsigned nsections = img.u16(coff + 2, "section count");
    const std::size_t optional_size = img.u16(coff + 16, "optional header size");
    pe.is_dll = (img.u16(coff + 18, "characteristics") & 0x2000) != 0;
    const std::size_t opt = coff + 20;
    const std::uint16_t magic = img.u16(opt, "optional header magic");
    if (magic != 0x10B && magic != 0x20B) img.fail("unknown optional header", opt);
    const std::size_t dirs = opt + (magic == 0x20B ? 112 : 96);
    const std::uint32_t ndirs = img.u32(dirs - 4, "data directory count");
    const std::size_t table = opt + optional_size;
    pe.image_base = magic == 0x20B ? std::uint64_t(img.u32(opt + 24, "image base")) |
                                         std::uint64_t(img.u32(opt + 28, "image base")) << 32
                                   : img.u32(opt + 28, "image base");
    for (unsigned i = 0; i < nsections; ++i) {
        const std::size_t s = table + 40 * std::size_t(i);
        img.sections.push_back({img.u32(s + 12, "section address"), img.u32(s + 8, "section size"),
                                img.u32(s + 20, "section data"), img.u32(s + 16, "section data size")});
        if (img.u32(s + 36, "section flags") & 0x20) {  // holds code
            const Section& sec = img.sections.back();
            const std::uint8_t* p = img.at(sec.raw_offset, sec.raw_size, "section data");
            pe.code.push_back({sec.rva, std::vector<std::uint8_t>(p, p + sec.raw_size)});
        }
    }
    auto directory = [&](unsigned index) { return index < ndirs ? img.u32(dirs + 8 * index, "data directory") : 0u; };
    if (std::uint32_t rva = directory(0)) ReadExports(img, rva, pe);
    if (std::uint32_t rva = directory(1)) ReadImports(img, rva, magic == 0x20B, pe);
    if (std::uint32_t rva = directory(2)) ReadResources(img, rva, pe);
    if (std::uint32_t rva = directory(13)) ReadDelayImports(img, rva, magic == 0x20B, pe);
    return pe;
}

}  // namespace pecheck
