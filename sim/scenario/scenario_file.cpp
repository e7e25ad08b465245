#include "sim/scenario_file.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>

#include "util/input_file.h"
#include "util/text_lines.h"

namespace sim {

namespace {
const char* const blanks = " \t\r\v\f";

std::string Trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

std::string FirstWord(const std::string& s)
{
    return s.substr(0, s.find_first_of(blanks));
}

std::string Rest(const std::string& s)
{
    const size_t w = s.find_first_of(blanks);
    return w == std::string::npos ? std::string() : Trim(s.substr(w));
}

bool IsKeyword(const std::string& word)
{
    return word == "BEGIN_SCENARIO" || word == "END_SCENARIO" || word == "BEGIN_VESSEL" || word == "END_VESSEL";
}

// `text` is the offending line, or lines joined by " / ".
[[noreturn]] void Fail(const std::string& file, int line_no, const std::string& why, const std::string& text)
{
    throw ScenarioError(file + ":" + std::to_string(line_no) + ": " + why + ": " + text);
}

[[noreturn]] void Fail(const std::string& file, int line_no, const std::string& why, const std::string& first,
                       const std::string& second)
{
    Fail(file, line_no, why, shown_text(first) + " / " + shown_text(second));
}

bool ReadTime(const std::string& value, double& out)
{
    if (value.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const double t = std::strtod(value.c_str(), &end);
    if (errno == ERANGE || *end != '\0' || !std::isfinite(t)) return false;
    out = t;
    return true;
}

bool SplitName(const std::string& word, std::string& name, std::string& class_name)
{
    const size_t colon = word.find(':');
    if (colon == std::string::npos) return false;
    name = word.substr(0, colon);
    class_name = word.substr(colon + 1);
    return !name.empty() && !class_name.empty();
}

enum class Section { none, header, vessel };
}  // namespace

Scenario parse_scenario(const std::string& text, const std::string& file)
{
    Scenario scn;
    scn.file = file;
    Section section = Section::none;
    bool had_header = false, had_time = false;
    int open_line = 0;
    std::string open_text;
    std::set<std::string> names;

    int line_no = 0;
    for_each_line(text, [&](const std::string& raw) {
        ++line_no;
        const std::string line = Trim(raw);
        const auto shown = [&] { return shown_text(line); };
        if (line.find('\0') != std::string::npos) Fail(file, line_no, "line holds a NUL byte", shown());
        if (line.empty() || line[0] == '#') return;
        const std::string word = FirstWord(line);

        if (section == Section::vessel) {
            if (line == "END_VESSEL") {
                section = Section::none;
            } else if (IsKeyword(word)) {
                Fail(file, open_line, "vessel block not closed before", open_text, line);
            } else {
                scn.vessels.back().lines.push_back({line, line_no});
            }
            return;
        }
        if (section == Section::header) {
            if (line == "END_SCENARIO") {
                section = Section::none;
            } else if (word == "TIME") {
                if (had_time) Fail(file, line_no, "TIME given twice", shown());
                if (!ReadTime(Rest(line), scn.time)) Fail(file, line_no, "expected one finite number of seconds", shown());
                had_time = true;
            } else if (IsKeyword(word)) {
                Fail(file, open_line, "scenario header not closed before", open_text, line);
            } else {
                Fail(file, line_no, "unknown header line", shown());
            }
            return;
        }
        if (line == "BEGIN_SCENARIO") {
            if (had_header) Fail(file, line_no, "second scenario header", shown());
            had_header = true;
            section = Section::header;
        } else if (word == "BEGIN_VESSEL") {
            if (scn.vessels.size() == scenario_craft_limit)
                Fail(file, line_no, "more than " + std::to_string(scenario_craft_limit) + " craft in one scenario",
                     shown());
            ScenarioVessel v;
            const std::string id = Rest(line);
            if (id.find_first_of(blanks) != std::string::npos || !SplitName(id, v.name, v.class_name))
                Fail(file, line_no, "expected BEGIN_VESSEL NAME:CLASS", shown());
            if (!names.insert(v.name).second) Fail(file, line_no, "a vessel of this name exists already", shown());
            v.line_no = line_no;
            scn.vessels.push_back(std::move(v));
            section = Section::vessel;
        } else {
            Fail(file, line_no, "line outside any block", shown());
        }
        open_line = line_no;
        open_text = line;
    });
    if (section == Section::vessel) Fail(file, open_line, "vessel block not closed at end of file", shown_text(open_text));
    if (section == Section::header) Fail(file, open_line, "scenario header not closed at end of file", shown_text(open_text));
    return scn;
}

Scenario read_scenario_file(const std::string& path)
{
    std::string text;
    try {
        text = read_input_file(path);
    } catch (const InputError& e) {
        throw ScenarioError(e.what());
    }
    return parse_scenario(text, path);
}

std::string format_scenario(const ScenarioText& scenario)
{
    if (!std::isfinite(scenario.time)) throw std::invalid_argument("the simulation time is not a finite number");
    char time[40];
    std::snprintf(time, sizeof time, "%.17g", scenario.time);
    std::string out = "BEGIN_SCENARIO\n  TIME " + std::string(time) + "\nEND_SCENARIO\n";
    for (const ScenarioText::Block& b : scenario.blocks) {
        const std::string id = b.name + ":" + b.class_name;
        std::string name, class_name;
        if (id.find_first_of(blanks) != std::string::npos || !SplitName(id, name, class_name) || name != b.name)
            throw std::invalid_argument("a vessel named \"" + shown_text(b.name) + "\" of class \"" +
                                        shown_text(b.class_name) + "\" cannot be written as NAME:CLASS");
        out += "\nBEGIN_VESSEL " + id + "\n";
        for (const SavedLine& saved : b.lines) {
            const std::string& line = saved.text;
            // Each line must come back as it went out, and inside this block.
            const bool holdable = !line.empty() && Trim(line) == line && line[0] != '#' &&
                                  line.find_first_of(std::string("\n\0", 2)) == std::string::npos &&
                                  !IsKeyword(FirstWord(line));
            if (!holdable) throw std::invalid_argument(shown_text(b.name) + " wrote a line a scenario file cannot hold: \"" +
                                                                shown_text(line) + "\"");
            out += "  " + line + "\n";
        }
        out += "END_VESSEL\n";
    }
    return out;
}

}  // namespace sim
