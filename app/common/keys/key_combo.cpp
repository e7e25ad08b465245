#include "keys/key_combo.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <stdexcept>

#include "util/text_lines.h"

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
        {"SHIFT", OAPI_KEY_LSHIFT},  {"LSHIFT", OAPI_KEY_LSHIFT},    {"RSHIFT", OAPI_KEY_RSHIFT},
        {"CTRL", OAPI_KEY_LCONTROL}, {"LCTRL", OAPI_KEY_LCONTROL},   {"RCTRL", OAPI_KEY_RCONTROL},
        {"ALT", OAPI_KEY_LALT},      {"LALT", OAPI_KEY_LALT},        {"RALT", OAPI_KEY_RALT},
    };
    return m;
}

const std::map<std::string, DWORD>& Keys()
{
    static const std::map<std::string, DWORD> k = {
        {"A", OAPI_KEY_A},   {"B", OAPI_KEY_B},   {"C", OAPI_KEY_C},   {"D", OAPI_KEY_D},   {"E", OAPI_KEY_E},
        {"F", OAPI_KEY_F},   {"G", OAPI_KEY_G},   {"H", OAPI_KEY_H},   {"I", OAPI_KEY_I},   {"J", OAPI_KEY_J},
        {"K", OAPI_KEY_K},   {"L", OAPI_KEY_L},   {"M", OAPI_KEY_M},   {"N", OAPI_KEY_N},   {"O", OAPI_KEY_O},
        {"P", OAPI_KEY_P},   {"Q", OAPI_KEY_Q},   {"R", OAPI_KEY_R},   {"S", OAPI_KEY_S},   {"T", OAPI_KEY_T},
        {"U", OAPI_KEY_U},   {"V", OAPI_KEY_V},   {"W", OAPI_KEY_W},   {"X", OAPI_KEY_X},   {"Y", OAPI_KEY_Y},
        {"Z", OAPI_KEY_Z},   {"0", OAPI_KEY_0},   {"1", OAPI_KEY_1},   {"2", OAPI_KEY_2},   {"3", OAPI_KEY_3},
        {"4", OAPI_KEY_4},   {"5", OAPI_KEY_5},   {"6", OAPI_KEY_6},   {"7", OAPI_KEY_7},   {"8", OAPI_KEY_8},
        {"9", OAPI_KEY_9},   {"F1", OAPI_KEY_F1}, {"F2", OAPI_KEY_F2}, {"F3", OAPI_KEY_F3}, {"F4", OAPI_KEY_F4},
        {"F5", OAPI_KEY_F5}, {"F6", OAPI_KEY_F6}, {"F7", OAPI_KEY_F7}, {"F8", OAPI_KEY_F8}, {"F9", OAPI_KEY_F9},
        {"F10", OAPI_KEY_F10},        {"SPACE", OAPI_KEY_SPACE},    {"ENTER", OAPI_KEY_RETURN},
        {"RETURN", OAPI_KEY_RETURN},  {"ESC", OAPI_KEY_ESCAPE},     {"ESCAPE", OAPI_KEY_ESCAPE},
        {"TAB", OAPI_KEY_TAB},        {"BACKSPACE", OAPI_KEY_BACK},
    };
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

KeyCombo::KeyCombo(DWORD key_code, DWORD modifier) : key(key_code)
{
    if (modifier) modifiers.push_back(modifier);
}

KeyCombo::KeyCombo(DWORD key_code, std::vector<DWORD> modifier_codes) : key(key_code), modifiers(std::move(modifier_codes)) {}

std::string KeyCombo::name() const
{
    std::string out;
    for (DWORD m : modifiers) out += modifier_name(m) + "+";
    return out + key_name(key);
}

std::string KeyCombo::text() const { return "key " + (written.empty() ? name() : written); }

KeyCombo parse_key(const std::string& text)
{
    KeyCombo entry;
    entry.written = text;
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
        entry.key = Keys().at(key);
    } else if (Number(key, entry.key)) {
    } else {
        auto k = Keys().find(Upper(key));
        if (k == Keys().end())
            throw std::invalid_argument("unknown key \"" + sim::shown_text(key) + "\" in \"" + sim::shown_text(text) +
                                        "\" (use a letter, a digit, Space, Enter, Esc, Tab, F1-F10 or a code 0x00-0xFF)");
        entry.key = k->second;
    }
    return entry;
}

std::string key_name(DWORD code)
{
    // The names as a person writes them, where the table has several for one key.
    static const std::map<DWORD, std::string> preferred = {
        {OAPI_KEY_SPACE, "Space"}, {OAPI_KEY_RETURN, "Enter"},   {OAPI_KEY_ESCAPE, "Esc"},
        {OAPI_KEY_TAB, "Tab"},     {OAPI_KEY_BACK, "Backspace"},
    };
    if (auto p = preferred.find(code); p != preferred.end()) return p->second;
    for (const auto& [name, key] : Keys())
        if (key == code) return name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(code));
    return hex;
}

std::string modifier_name(DWORD code)
{
    // The names as a person writes them, where the table has several for one key.
    static const std::map<DWORD, std::string> names = {
        {OAPI_KEY_LSHIFT, "Shift"}, {OAPI_KEY_RSHIFT, "RShift"}, {OAPI_KEY_LCONTROL, "Ctrl"},
        {OAPI_KEY_RCONTROL, "RCtrl"}, {OAPI_KEY_LALT, "Alt"},    {OAPI_KEY_RALT, "RAlt"},
    };
    const auto n = names.find(code);
    return n == names.end() ? "" : n->second;
}

std::string key_names_help()
{
    return "A-Z, 0-9, Space, Enter, Esc, Tab, Backspace, F1-F10, or a code such as 0x25;\n"
           "modifiers Shift, Ctrl, Alt (left keys) or RShift, RCtrl, RAlt, joined with '+'";
}

}  // namespace app
