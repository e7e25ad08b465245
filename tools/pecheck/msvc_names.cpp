#include "msvc_names.h"

#include <algorithm>
#include <sstream>

namespace pecheck {

namespace {
// The part of a member's name after "Class@@": access, qualifiers, convention, types.
struct Member {
    std::string cls;
    std::string rest;
};

std::optional<Member> SplitMember(const std::string& d)
{
    // "?name@Class@@..." or, for special members, "??0Class@@..." and "??1Class@@...".
    std::size_t start;
    if (d.rfind("??0", 0) == 0 || d.rfind("??1", 0) == 0) start = 3;
    else if (d.rfind("?", 0) == 0 && d.size() > 1 && d[1] != '?') start = d.find('@') + 1;
    else return std::nullopt;
    if (start == 0) return std::nullopt;
    const std::size_t end = d.find("@@", start);
    if (end == std::string::npos || end == start) return std::nullopt;
    const std::string cls = d.substr(start, end - start);
    if (cls.find('@') != std::string::npos) return std::nullopt;  // nested names are not decoded here
    return Member{cls, d.substr(end + 2)};
}

// Function access letters: A..V; the static ones have no qualifier letter.
bool IsFunctionAccess(char c) { return c >= 'A' && c <= 'V'; }
bool IsStatic(char c) { return c == 'C' || c == 'D' || c == 'K' || c == 'L' || c == 'S' || c == 'T'; }

class TypeReader {
public:
    explicit TypeReader(const std::string& s) : s_(s) {}
    std::size_t pos = 0;

    // Skips one type and gives its size as an argument on 32-bit x86, if known.
    std::optional<unsigned> argument()
    {
        const std::size_t from = pos;
        const std::optional<unsigned> size = type();
        if (!size) return std::nullopt;
        if (pos - from > 1 && backrefs_.size() < 10) backrefs_.push_back(*size);
        return size;
    }
    std::optional<unsigned> type()
    {
        if (pos >= s_.size()) return std::nullopt;
        const char c = s_[pos++];
        if (c >= '0' && c <= '9') {
            const unsigned i = unsigned(c - '0');
            if (i >= backrefs_.size()) return std::nullopt;
            return backrefs_[i];
        }
        if (c == 'N' || c == 'O') return 8u;
        if (std::string("CDEFGHIJKM").find(c) != std::string::npos) return 4u;
        if (c == '_') {
            if (pos >= s_.size()) return std::nullopt;
            const char e = s_[pos++];
            if (e == 'J' || e == 'K') return 8u;
            if (e == 'N' || e == 'W') return 4u;
            return std::nullopt;
        }
        if (c == 'W') {  // enum: W4Name@@
            const std::size_t end = s_.find("@@", pos);
            if (end == std::string::npos) return std::nullopt;
            pos = end + 2;
            return 4u;
        }
        if (c == 'P' || c == 'Q' || c == 'R' || c == 'S' || c == 'A' || c == 'B') {
            if (pos >= s_.size() || s_[pos] == '6') return std::nullopt;  // pointer to function
            ++pos;                                                         // the pointee's qualifiers
            if (pointee()) return 4u;
            return std::nullopt;
        }
        return std::nullopt;  // a record by value, or what is not decoded here
    }

private:
    // A pointer's target: any type, records and void included.
    bool pointee()
    {
        if (pos >= s_.size()) return false;
        const char c = s_[pos];
        if (c == 'X') {
            ++pos;
            return true;
        }
        if (c == 'U' || c == 'V' || c == 'T') {
            const std::size_t end = s_.find("@@", pos);
            if (end == std::string::npos) return false;
            pos = end + 2;
            return true;
        }
        return type().has_value();
    }

    const std::string& s_;
    std::vector<unsigned> backrefs_;
};
}  // namespace

std::string member_class(const std::string& decorated)
{
    const std::optional<Member> m = SplitMember(decorated);
    if (!m || m->rest.empty() || !IsFunctionAccess(m->rest[0])) return {};
    return m->cls;
}

char member_convention(const std::string& decorated)
{
    const std::optional<Member> m = SplitMember(decorated);
    if (!m || m->rest.size() < 3 || !IsFunctionAccess(m->rest[0]) || IsStatic(m->rest[0])) return 0;
    return m->rest[2];
}

std::optional<unsigned> thiscall_argument_bytes(const std::string& decorated)
{
    if (member_convention(decorated) != 'E') return std::nullopt;
    const std::string types = SplitMember(decorated)->rest.substr(3);
    TypeReader r(types);
    // The result type: none for constructors and destructors, "?A" before a record or enum.
    if (types.rfind("@", 0) == 0) r.pos = 1;
    else {
        if (types.rfind("?A", 0) == 0) r.pos = 2;
        if (types.compare(r.pos, 1, "X") == 0) ++r.pos;
        else if (!r.type()) return std::nullopt;
    }
    if (types.compare(r.pos, 2, "XZ") == 0) return 0u;
    unsigned bytes = 0;
    while (r.pos < types.size() && types[r.pos] != '@' && types[r.pos] != 'Z') {
        const std::optional<unsigned> size = r.argument();
        if (!size) return std::nullopt;
        bytes += *size;
    }
    return bytes;
}

std::vector<MapSymbol> read_link_map(std::istream& map, std::uint64_t image_base)
{
    std::vector<MapSymbol> symbols;
    std::string line;
    while (std::getline(map, line)) {
        std::istringstream fields(line);
        std::string where, name, address, object;
        if (!(fields >> where >> name >> address >> object)) continue;
        if (where.rfind("0001:", 0) != 0 || address.size() < 8) continue;
        std::uint64_t va = 0;
        std::istringstream(address) >> std::hex >> va;
        if (va < image_base) continue;
        // An import library's members show as "library:dll"; the DLL's own objects by file name.
        symbols.push_back({name, va - image_base, object.find(':') == std::string::npos});
    }
    std::sort(symbols.begin(), symbols.end(),
              [](const MapSymbol& a, const MapSymbol& b) { return a.address < b.address; });
    return symbols;
}

}  // namespace pecheck
