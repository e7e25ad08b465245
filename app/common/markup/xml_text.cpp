#include "markup/xml_text.h"

#include "util/utf8.h"

namespace app {

std::string xml_text(const std::string& text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = sim::utf8_char_length(text, at);
        const char c = text[at];
        if (n == 0) out += "\xEF\xBF\xBD";  // not UTF-8
        else if (n > 1) out += sim::xml_char(text, at, n) ? text.substr(at, n) : "\xEF\xBF\xBD";
        else if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        // XML reads a carriage return in text as a line end: kept out too.
        else if (!sim::xml_char(text, at, n) || c == '\r') out += '?';
        else out += c;
        at += n ? n : 1;
    }
    return out;
}

}  // namespace app
