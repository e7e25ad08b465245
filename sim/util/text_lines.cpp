#include "util/text_lines.h"

#include <cstdio>

#include "util/utf8.h"

namespace sim {

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    for_each_line(text, [&](std::string line) { lines.push_back(std::move(line)); });
    return lines;
}

std::string shown_text(const std::string& line, std::size_t limit)
{
    std::string out;
    size_t at = 0, shown = 0;
    for (; at < line.size() && shown < limit; ++shown) {
        const unsigned char c = static_cast<unsigned char>(line[at]);
        const size_t n = utf8_char_length(line, at);
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\0') out += "\\0";
        else if (n == 0 || c < 0x20 || c == 0x7F || (c == 0xC2 && static_cast<unsigned char>(line[at + 1]) < 0xA0)) {
            // Invalid bytes and C0/C1 controls; a C1 control shows as its two bytes.
            for (size_t i = 0; i < (n ? n : 1); ++i) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(line[at + i]));
                out += buf;
            }
            at += n ? n : 1;
            continue;
        } else {
            out.append(line, at, n);
            at += n;
            continue;
        }
        ++at;
    }
    if (at < line.size()) out += "... (" + std::to_string(line.size()) + " bytes)";
    return out;
}

std::string terminal_text(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        const size_t n = utf8_char_length(text, at);
        const bool control = (c < 0x20 && c != '\n' && c != '\t') || c == 0x7F ||
                             (n == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0);
        if (n && !control) {
            out.append(text, at, n);
            at += n;
            continue;
        }
        for (size_t i = 0; i < (n ? n : 1); ++i, ++at) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(text[at]));
            out += buf;
        }
    }
    return out;
}

}  // namespace sim
