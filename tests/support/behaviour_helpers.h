// Small helpers for the behaviour tests: craft loaded from scenario text, and
// the values the module handed to the host's animation calls.
#pragma once

#include <string>
#include <vector>

#include "sim/host.h"

namespace behaviour {

// A block for one craft of the module's class with the given lines.
inline std::string Block(const sim::Module& module, const std::string& lines, const std::string& name = "Mervex-1")
{
    return "BEGIN_VESSEL " + name + ":" + module.class_name() + "\n" + lines + "END_VESSEL\n";
}

inline sim::Craft LoadOne(sim::Host& host, sim::Module& module, const std::string& lines,
                          const std::string& name = "Mervex-1")
{
    return host.load_scenario(sim::parse_scenario(Block(module, lines, name), "test.scn"), module).at(0);
}

// The state argument of every call of that name, in order.
inline std::vector<double> States(const sim::CallLog& log, const char* name)
{
    std::vector<double> out;
    for (const sim::HostCall& c : log.named(name)) out.push_back(c.numbers.at(1));
    return out;
}

// The lines of the craft's block in the host's scenario text.
inline std::vector<std::string> SavedLines(sim::Host& host, const std::string& name = "Mervex-1")
{
    const sim::Scenario scn = sim::parse_scenario(host.scenario_text(), "saved");
    std::vector<std::string> out;
    for (const sim::ScenarioVessel& v : scn.vessels)
        if (v.name == name)
            for (const sim::ScenarioLine& l : v.lines) out.push_back(l.text);
    return out;
}

// The value of the craft's saved line with that key, or "(none)".
inline std::string Saved(sim::Host& host, const std::string& key, const std::string& name = "Mervex-1")
{
    for (const std::string& l : SavedLines(host, name)) {
        if (l == key) return "";
        if (l.compare(0, key.size() + 1, key + " ") == 0) return l.substr(key.size() + 1);
    }
    return "(none)";
}

}  // namespace behaviour
