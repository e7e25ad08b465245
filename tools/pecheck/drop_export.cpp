// drop-export IN OUT NAME: copies the PE file IN to OUT with the export
// NAME taken out of its export directory's name tables, so that
// GetProcAddress no longer finds it by name. The tests make from the
// stand-in host a host that lacks one function of the interface.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {
class File {
public:
    explicit File(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint32_t u32(std::size_t at) const
    {
        check(at, 4);
        return std::uint32_t(bytes_[at]) | std::uint32_t(bytes_[at + 1]) << 8 | std::uint32_t(bytes_[at + 2]) << 16 |
               std::uint32_t(bytes_[at + 3]) << 24;
    }
    std::uint16_t u16(std::size_t at) const
    {
        check(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    void put32(std::size_t at, std::uint32_t v)
    {
        check(at, 4);
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void move(std::size_t to, std::size_t from, std::size_t n)
    {
        check(from, n);
        check(to, n);
        std::memmove(bytes_.data() + to, bytes_.data() + from, n);
    }
    std::string c_string(std::size_t at) const
    {
        std::string s;
        for (; at < bytes_.size() && bytes_[at]; ++at) s += static_cast<char>(bytes_[at]);
        return s;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    void check(std::size_t at, std::size_t n) const
    {
        if (at > bytes_.size() || n > bytes_.size() - at)
            throw std::runtime_error("a field lies past the end of the file");
    }
    std::vector<std::uint8_t> bytes_;
};

struct Section {
    std::uint32_t rva, size, raw;
};

std::size_t offset_of(const std::vector<Section>& sections, std::uint32_t rva)
{
    for (const Section& s : sections)
        if (rva >= s.rva && rva - s.rva < s.size) return std::size_t(s.raw) + (rva - s.rva);
    throw std::runtime_error("address " + std::to_string(rva) + " is in no section");
}

void drop_export(File& f, const std::string& name)
{
    const std::size_t coff = std::size_t(f.u32(0x3C)) + 4;
    const std::size_t opt = coff + 20;
    const std::size_t table = opt + f.u16(coff + 16);
    std::vector<Section> sections;
    for (unsigned i = 0; i < f.u16(coff + 2); ++i) {
        const std::size_t s = table + 40 * std::size_t(i);
        sections.push_back({f.u32(s + 12), f.u32(s + 16), f.u32(s + 20)});
    }
    const std::size_t directories = opt + (f.u16(opt) == 0x20B ? 112 : 96);
    const std::uint32_t export_rva = f.u32(directories);
    if (!export_rva) throw std::runtime_error("the file exports nothing");
    const std::size_t d = offset_of(sections, export_rva);
    const std::uint32_t count = f.u32(d + 24);
    const std::size_t names = offset_of(sections, f.u32(d + 32));
    const std::size_t ordinals = offset_of(sections, f.u32(d + 36));
    for (std::uint32_t i = 0; i < count; ++i) {
        if (f.c_string(offset_of(sections, f.u32(names + 4 * i))) != name) continue;
        // The tables stay sorted by name: the later entries move down one.
        f.move(names + 4 * i, names + 4 * (i + 1), 4 * (count - i - 1));
        f.move(ordinals + 2 * i, ordinals + 2 * (i + 1), 2 * (count - i - 1));
        f.put32(d + 24, count - 1);
        return;
    }
    throw std::runtime_error("no export named " + name);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: drop-export IN OUT NAME\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "drop-export: cannot open %s\n", argv[1]);
        return 1;
    }
    File f(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    try {
        drop_export(f, argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "drop-export: %s: %s\n", argv[1], e.what());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.bytes().data()), std::streamsize(f.bytes().size()));
    if (!out.flush()) {
        std::fprintf(stderr, "drop-export: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
