// UTF-8 as files, messages, JSON and SVG need it: which bytes form a valid
// character, and text made valid by replacing the bytes that do not.
// Header-only, so the SVG writer can use it without the host library.
#pragma once

#include <cstddef>
#include <string>

namespace sim {

// The length of the valid UTF-8 character at s[at] (1 to 4), or 0 when the
// bytes there are not one (a stray continuation, an overlong form, a
// surrogate, a code point above U+10FFFF, a cut sequence).
inline std::size_t utf8_char_length(const std::string& s, std::size_t at)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char c = b(0);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (at + n > s.size() || b(1) < lo || b(1) > hi) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (b(i) < 0x80 || b(i) > 0xBF) return 0;
    return n;
}

// Whether the valid character of `n` bytes at s[at] may stand in XML 1.0:
// no control character but tab and line ends, nor U+FFFE or U+FFFF.
inline bool xml_char(const std::string& s, std::size_t at, std::size_t n)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    if (n == 1) return b(0) >= 0x20 || b(0) == '\t' || b(0) == '\n' || b(0) == '\r';
    return !(n == 3 && b(0) == 0xEF && b(1) == 0xBF && b(2) >= 0xBE);
}

// `s` with each byte that is not part of a valid character replaced by U+FFFD.
inline std::string valid_utf8(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t at = 0; at < s.size();) {
        const std::size_t n = utf8_char_length(s, at);
        if (n) out.append(s, at, n), at += n;
        else out += "\xEF\xBF\xBD", ++at;
    }
    return out;
}

}  // namespace sim
