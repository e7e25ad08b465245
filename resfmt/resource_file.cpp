#include "resfmt/resource_file.h"

#include <fstream>
#include <iterator>

namespace resfmt {

namespace {

NameOrId name_or_id(ByteReader& in, const char* field)
{
    const std::uint16_t first = in.u16(field);
    if (first == 0xFFFF) return NameOrId::number(in.u16(field));
    std::u16string s;
    for (char16_t c = first; c; c = in.u16(field)) s.push_back(c);
    return NameOrId::text(utf8_from_utf16(s));
}

}  // namespace

std::vector<ResourceEntry> parse_resource_file(const std::uint8_t* data, std::size_t size, const std::string& what)
{
    constexpr std::size_t min_header = 32;  // two ordinals and the fixed fields
    std::vector<ResourceEntry> entries;
    ByteReader in(data, size, what);
    while (!in.at_end()) {
        const std::size_t start = in.offset();
        const std::uint32_t data_size = in.u32("data size");
        const std::uint32_t header_size = in.u32("header size");
        if (header_size < min_header || header_size % 4) {
            in.fail("header size " + std::to_string(header_size) + " is not a multiple of 4 of at least 32");
        }
        if (header_size - 8 > in.remaining()) {
            in.fail("header of " + std::to_string(header_size) + " bytes runs past the end of the file");
        }
        // The type and name are read within the header only.
        ByteReader header(data + start + 8, header_size - 8, what + " header at " + std::to_string(start));
        ResourceEntry e;
        e.type = name_or_id(header, "type");
        e.name = name_or_id(header, "name");
        header.align(4);
        header.u32("data version");
        e.memory_flags = header.u16("memory flags");
        e.language = header.u16("language");
        header.u32("version");
        header.u32("characteristics");
        in.take(header_size - 8, "header");
        const std::uint8_t* body = in.take(data_size, "resource data");
        e.data.assign(body, body + data_size);
        in.align(4);
        const bool marker = e.type == NameOrId::number(0) && e.name == NameOrId::number(0) && data_size == 0;
        if (!marker) entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<ResourceEntry> read_resource_file(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw std::runtime_error("cannot read " + path);
    return parse_resource_file(bytes.data(), bytes.size(), path);
}

const ResourceEntry* find_resource(const std::vector<ResourceEntry>& entries, std::uint16_t type, std::uint16_t id)
{
    for (const ResourceEntry& e : entries)
        if (e.type == NameOrId::number(type) && e.name == NameOrId::number(id)) return &e;
    return nullptr;
}

}  // namespace resfmt
