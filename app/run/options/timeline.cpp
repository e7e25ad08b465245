#include "options/timeline.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "options/decimal.h"
#include "options/thruster_groups.h"
#include "util/input_file.h"
#include "util/text_lines.h"

namespace app {

namespace {
std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + 1) out.push_back(s.substr(start, at - start));
    out.push_back(s.substr(start));
    return out;
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Seconds(const std::string& s, double& out) { return parse_decimal(s, out); }

// Saves and pictures go into the output folder under a plain name: a
// timeline cannot lead a file out of it.
void PlainName(const std::string& name, const char* what)
{
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            throw std::invalid_argument(std::string("a ") + what + " name holds only letters, digits, '-', '_' and '.'");
    if (name == "." || name == "..") throw std::invalid_argument(std::string("a ") + what + " name cannot be . or ..");
}

void Thrust(Action& a, const std::vector<std::string>& f)
{
    if (f.size() < 3 || f.size() > 4) throw std::invalid_argument("expected thrust:GROUP=LEVEL[:for=SECONDS]");
    const size_t eq = f[2].find('=');
    if (eq == std::string::npos) throw std::invalid_argument("expected GROUP=LEVEL, got \"" + sim::shown_text(f[2]) + "\"");
    a.group = parse_group(f[2].substr(0, eq));
    const std::string level = f[2].substr(eq + 1);
    if (!Seconds(level, a.level) || a.level > 1)
        throw std::invalid_argument("thrust level \"" + sim::shown_text(level) + "\" is not a number from 0 to 1");
    if (f.size() == 4) {
        if (Lower(f[3].substr(0, 4)) != "for=" || !Seconds(f[3].substr(4), a.duration) || a.duration <= 0)
            throw std::invalid_argument("expected for=SECONDS (above 0), got \"" + sim::shown_text(f[3]) + "\"");
    }
}
}  // namespace

std::string Action::source() const
{
    const std::string file = origin ? *origin : std::string();
    return line ? file + ":" + std::to_string(line) : file;
}

namespace {
Action ParseAction(const std::string& entry, std::shared_ptr<const std::string> origin, int line)
{
    Action a;
    a.origin = std::move(origin);
    a.line = line;
    a.text = entry;
    auto fail = [&](const std::string& why) -> TimelineError {
        return TimelineError(a.source() + ": " + why + ": " + sim::shown_text(entry));
    };
    std::string body = entry;
    const size_t at = entry.rfind('@');
    if (at != std::string::npos) {
        a.craft = entry.substr(at + 1);
        body = entry.substr(0, at);
        if (a.craft.empty() || a.craft.find(':') != std::string::npos) throw fail("expected @CRAFT at the end");
    }
    const std::vector<std::string> f = Split(body, ':');
    if (f.size() < 2) throw fail("expected TIME:ACTION[:ARGS][@CRAFT]");
    if (!Seconds(f[0], a.time)) throw fail("time \"" + sim::shown_text(f[0]) + "\" is not a number of seconds at or above 0");
    const std::string kind = Lower(f[1]);
    try {
        if (kind == "key") {
            if (f.size() != 3) throw std::invalid_argument("expected key:KEYS, e.g. key:Shift+L");
            a.kind = ActionKind::key;
            a.key = parse_key(f[2]);
        } else if (kind == "click") {
            if (f.size() != 3 || f[2].find_first_not_of(' ') == std::string::npos)
                throw std::invalid_argument("expected click:BUTTON, a caption, a control id or close");
            if (!a.craft.empty()) throw std::invalid_argument("a click goes to an open dialog, not to a craft");
            a.kind = ActionKind::click;
            a.button = f[2];
        } else if (kind == "thrust") {
            a.kind = ActionKind::thrust;
            Thrust(a, f);
        } else if (kind == "focus") {
            if (f.size() != 3 || f[2].empty()) throw std::invalid_argument("expected focus:CRAFT");
            if (!a.craft.empty()) throw std::invalid_argument("the craft to focus is named after focus:, not with @");
            a.kind = ActionKind::focus;
            a.craft = f[2];
        } else if (kind == "save") {
            if (f.size() != 3 || f[2].empty()) throw std::invalid_argument("expected save:NAME");
            a.kind = ActionKind::save;
            a.name = f[2];
            PlainName(a.name, "save");
        } else if (kind == "picture") {
            if (f.size() > 3) throw std::invalid_argument("expected picture[:NAME]");
            a.kind = ActionKind::picture;
            if (f.size() == 3) a.name = f[2];
            PlainName(a.name, "picture");
        } else {
            throw std::invalid_argument("unknown action \"" + sim::shown_text(f[1]) + "\" (key, click, thrust, focus, save, picture)");
        }
    } catch (const std::invalid_argument& e) {
        throw fail(e.what());
    }
    return a;
}
}  // namespace

Action parse_action(const std::string& entry, const std::string& source)
{
    return ParseAction(entry, std::make_shared<const std::string>(source), 0);
}

std::vector<Action> parse_timeline(const std::string& text, const std::string& file)
{
    // Room for every line that may hold an action, taken once: growing the
    // list would hold it twice over while it moves. No action line is
    // shorter than "0 key K" and its end.
    std::size_t candidates = 0;
    sim::for_each_line(text, [&](const std::string& line) {
        const std::size_t first = line.find_first_not_of(" \t\v\f");
        candidates += first != std::string::npos && line[first] != '#';
    });
    std::vector<Action> out;
    out.reserve(std::min(candidates, text.size() / 8 + 1));
    const auto origin = std::make_shared<const std::string>(file);
    int line_no = 0;
    sim::for_each_line(text, [&](const std::string& line) {
        ++line_no;
        std::istringstream words(line);
        std::string entry, word;
        while (words >> word) {
            if (word[0] == '#') break;
            if (entry.empty()) entry = word;
            else entry += (word[0] == '@' ? "" : ":") + word;
        }
        if (!entry.empty()) out.push_back(ParseAction(entry, origin, line_no));
    });
    return out;
}

std::vector<Action> read_timeline_file(const std::string& path)
{
    std::string text;
    try {
        text = sim::read_input_file(path);
    } catch (const sim::InputError& e) {
        throw TimelineError(e.what());
    }
    return parse_timeline(text, path);
}

std::string describe(const Action& a)
{
    char t[32];
    std::snprintf(t, sizeof t, "t=%g s", a.time);
    const std::string on = a.craft.empty() ? "" : " on " + a.craft;
    switch (a.kind) {
    case ActionKind::key: return std::string(t) + ": " + a.key.text() + on;
    case ActionKind::click: return std::string(t) + ": click " + a.button;
    case ActionKind::thrust: {
        char l[64];
        if (a.duration > 0) std::snprintf(l, sizeof l, "=%g for %g s", a.level, a.duration);
        else std::snprintf(l, sizeof l, "=%g", a.level);
        return std::string(t) + ": thrust " + group_name(a.group) + l + on;
    }
    case ActionKind::focus: return std::string(t) + ": focus " + a.craft;
    case ActionKind::save: return std::string(t) + ": save " + a.name;
    case ActionKind::picture: return std::string(t) + ": picture " + a.name;
    }
    return t;
}

}  // namespace app
