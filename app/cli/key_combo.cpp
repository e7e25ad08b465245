#include "cli/key_combo.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "sim/text_lines.h"

namespace app {

namespace {
std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const std::map<std::string, DWORD>& Modifiers()
{
    static const std::map<std::string, DWORD> m = {
        {"SHIFT", 0x2A}, {"LSHIFT", 0x2A}, {"RSHIFT", 0x36}, {"CTRL", 0x1D}, {"LCTRL", 0x1D},
        {"RCTRL", 0x9D}, {"ALT", 0x38},    {"LALT", 0x38},   {"RALT", 0xB8},
    };
    return m;
}

const std::map<std::string, DWORD>& Keys()
{
    static const std::map<std::string, DWORD> k = [] {
        std::map<std::string, DWORD> m;
        const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
        const DWORD first[] = {0x10, 0x1E, 0x2C};
        for (int r = 0; r < 3; ++r)
            for (DWORD i = 0; rows[r][i]; ++i) m[std::string(1, rows[r][i])] = first[r] + i;
        for (DWORD d = 1; d <= 9; ++d) m[std::to_string(d)] = 0x01 + d;
        m["0"] = 0x0B;
        for (DWORD f = 1; f <= 10; ++f) m["F" + std::to_string(f)] = 0x3A + f;
        m["SPACE"] = 0x39;
        m["ENTER"] = m["RETURN"] = 0x1C;
        m["ESC"] = m["ESCAPE"] = 0x01;
        m["TAB"] = 0x0F;
        m["BACKSPACE"] = 0x0E;
        return m;
    }();
    return k;
}

bool Number(const std::string& s, DWORD& out)
{
    if (s.empty() || !std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str(), &end, 0);
    if (*end != '\0' || v > 255) return false;
    out = static_cast<DWORD>(v);
    return true;
}
}  // namespace

KeySpec parse_key(const std::string& text)
{
    KeySpec entry;
    entry.text = text;
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t plus; (plus = text.find('+', start)) != std::string::npos; start = plus + 1)
        parts.push_back(text.substr(start, plus - start));
    parts.push_back(text.substr(start));
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        auto m = Modifiers().find(Upper(parts[i]));
        if (m == Modifiers().end())
            throw std::invalid_argument("unknown modifier \"" + sim::shown_text(parts[i]) + "\" in key \"" + sim::shown_text(text) +
                                        "\" (use Shift, Ctrl, Alt, or LShift/RShift, LCtrl/RCtrl, LAlt/RAlt)");
        entry.modifiers.push_back(m->second);
    }
    const std::string key = parts.back();
    if (key.size() == 1 && std::isdigit(static_cast<unsigned char>(key[0]))) {
        entry.code = Keys().at(key);
    } else if (Number(key, entry.code)) {
    } else {
        auto k = Keys().find(Upper(key));
        if (k == Keys().end())
            throw std::invalid_argument("unknown key \"" + sim::shown_text(key) + "\" in \"" + sim::shown_text(text) +
                                        "\" (use a letter, a digit, Space, Enter, Esc, Tab, F1-F10 or a code 0x00-0xFF)");
        entry.code = k->second;
    }
    return entry;
}

std::string key_names_help()
{
    return "A-Z, 0-9, Space, Enter, Esc, Tab, Backspace, F1-F10, or a code such as 0x25;\n"
           "modifiers Shift, Ctrl, Alt (left keys) or RShift, RCtrl, RAlt, joined with '+'";
}

}  // namespace app
