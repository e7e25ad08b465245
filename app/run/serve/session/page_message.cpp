#include "serve/session/page_message.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "keys/key_combo.h"
#include "options/decimal.h"
#include "options/thruster_groups.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace app {

namespace {
using nlohmann::json;

constexpr size_t name_max = 128;

// Left and right Shift, Ctrl and Alt, each held once.
constexpr size_t modifier_keys_max = 6;

[[noreturn]] void Fail(const std::string& why) { throw PageMessageError(why); }

void OnlyFields(const json& m, std::initializer_list<const char*> allowed)
{
    for (const auto& item : m.items())
        if (std::find_if(allowed.begin(), allowed.end(), [&](const char* a) { return item.key() == a; }) ==
            allowed.end())
            Fail("unknown field \"" + sim::shown_text(item.key()) + "\"");
}

const json& Field(const json& m, const char* name)
{
    const auto f = m.find(name);
    if (f == m.end()) Fail(std::string("missing field \"") + name + "\"");
    return *f;
}

unsigned Code(const json& v, const char* what)
{
    if (!v.is_number_unsigned() || v.get<std::uint64_t>() > 255)
        Fail(std::string(what) + " must be a whole number from 0 to 255");
    return v.get<unsigned>();
}

// A craft's name as the page sends it back; the session checks it is one.
std::string CraftName(const json& m)
{
    const json& v = Field(m, "craft");
    if (!v.is_string()) Fail("craft must be a text");
    const std::string name = v.get<std::string>();
    if (name.empty() || name.size() > name_max) Fail("craft must name a craft");
    for (unsigned char c : name)
        if (c <= ' ' || c == '@' || c == ':' || c == '#' || c == 0x7F) Fail("no craft has such a name");
    return name;
}
}  // namespace

PageMessage parse_page_message(std::string_view text)
{
    if (text.size() > page_message_max_bytes)
        Fail("a message is at most " + std::to_string(page_message_max_bytes) + " bytes");
    const json m = json::parse(text.begin(), text.end(), nullptr, false);
    if (m.is_discarded() || !m.is_object()) Fail("a message is a JSON object");
    const json& type = Field(m, "type");
    if (!type.is_string()) Fail("type must be a text");
    const std::string t = type.get<std::string>();
    PageMessage out;
    if (t == "key") {
        OnlyFields(m, {"type", "craft", "code", "modifiers"});
        out.action = PageAction::key;
        out.craft = CraftName(m);
        out.code = Code(Field(m, "code"), "code");
        const auto mods = m.find("modifiers");
        if (mods != m.end()) {
            if (!mods->is_array() || mods->size() > modifier_keys_max)
                Fail("modifiers must be a list of at most 6 codes");
            for (const json& v : *mods) {
                const unsigned c = Code(v, "a modifier");
                if (modifier_name(c).empty())
                    Fail("a modifier is the code of a Shift, Ctrl or Alt key");
                if (std::find(out.modifiers.begin(), out.modifiers.end(), c) != out.modifiers.end())
                    Fail("a modifier is held once");
                out.modifiers.push_back(c);
            }
        }
    } else if (t == "click") {
        OnlyFields(m, {"type", "button"});
        out.action = PageAction::click;
        const json& b = Field(m, "button");
        if (!b.is_string()) Fail("button must be a text");
        out.button = b.get<std::string>();
        const bool digits =
            !out.button.empty() && out.button.size() <= 5 &&
            std::all_of(out.button.begin(), out.button.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits && out.button != "close") Fail("button is a control id or \"close\"");
    } else if (t == "thrust") {
        OnlyFields(m, {"type", "craft", "group", "level"});
        out.action = PageAction::thrust;
        out.craft = CraftName(m);
        const json& g = Field(m, "group");
        if (!g.is_string() || g.get<std::string>().size() > name_max) Fail("group must be a thruster group's name");
        out.group = g.get<std::string>();
        try {
            parse_group(out.group);
        } catch (const std::invalid_argument& e) {
            Fail(e.what());
        }
        const json& l = Field(m, "level");
        if (!l.is_number() || !(l.get<double>() >= 0 && l.get<double>() <= 1))
            Fail("level must be a number from 0 to 1");
        out.level = l.get<double>();
        if (out.level == 0) out.level = 0;  // no "-0" in a timeline
    } else if (t == "warp") {
        OnlyFields(m, {"type", "factor"});
        out.action = PageAction::warp;
        const json& f = Field(m, "factor");
        if (!f.is_number()) Fail("factor must be 0.1, 1, 10 or 100");
        out.warp = f.get<double>();
        if (out.warp != 0.1 && out.warp != 1 && out.warp != 10 && out.warp != 100)
            Fail("factor must be 0.1, 1, 10 or 100");
    } else if (t == "focus") {
        OnlyFields(m, {"type", "craft"});
        out.action = PageAction::focus;
        out.craft = CraftName(m);
    } else {
        static const std::pair<const char*, PageAction> plain[] = {
            {"pause", PageAction::pause}, {"run", PageAction::run},   {"step", PageAction::step},
            {"save", PageAction::save},   {"quit", PageAction::quit},
        };
        const auto p = std::find_if(std::begin(plain), std::end(plain), [&](const auto& e) { return t == e.first; });
        if (p == std::end(plain)) Fail("unknown type \"" + sim::shown_text(t.substr(0, name_max)) + "\"");
        OnlyFields(m, {"type"});
        out.action = p->second;
    }
    return out;
}

std::string timeline_entry(const PageMessage& m)
{
    switch (m.action) {
        case PageAction::key:
            return "key:" + KeyCombo(m.code, std::vector<DWORD>(m.modifiers.begin(), m.modifiers.end())).name() + "@" +
                   m.craft;
        case PageAction::click:
            return "click:" + m.button;
        case PageAction::thrust:
            return "thrust:" + m.group + "=" + sim::number_text(m.level) + "@" + m.craft;
        case PageAction::focus:
            return "focus:" + m.craft;
        default:
            return {};
    }
}

}  // namespace app
