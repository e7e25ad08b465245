// Loading and saving scenarios: the host places its own lines, each craft's
// module reads and writes the rest of its block.
#include <set>

#include "sim/atomic_file.h"
#include "sim/host.h"
#include "sim/scenario_file.h"
#include "sim/text_lines.h"

namespace sim {

std::vector<VesselRecord*> Host::load_scenario(const Scenario& scenario, Module& module)
{
    const std::string class_name = module.class_name();
    std::set<std::string> names;
    for (const auto& r : vessels_) names.insert(r->name);
    for (const ScenarioVessel& v : scenario.vessels) {
        const std::string where = scenario.file + ":" + std::to_string(v.line_no) + ": ";
        const std::string text = shown_text("BEGIN_VESSEL " + v.name + ":" + v.class_name);
        if (v.class_name != class_name)
            throw ScenarioError(where + "the module " + module.path() + " defines the class " + class_name + ": " + text);
        if (!names.insert(v.name).second) throw ScenarioError(where + "a vessel of this name exists already: " + text);
    }

    // All or nothing: a scenario that fails leaves the host as it was.
    const double old_time = sim_time_;
    std::vector<VesselRecord*> created;
    auto roll_back = [&] {
        for (auto it = created.rbegin(); it != created.rend(); ++it) destroy_vessel(**it);
        sim_time_ = old_time;
    };
    std::string problems;
    sim_time_ = scenario.time;
    try {
        for (const ScenarioVessel& v : scenario.vessels) {
            VesselRecord& rec = create_vessel(module, v.name);
            created.push_back(&rec);
            ScenarioBlock block;
            block.file = scenario.file;
            block.lines = v.lines;
            ParseStatus status;
            status.vessel = &rec;
            status.block = &block;
            rec.callbacks->clbkReadScenario(&block, &status);
            for (const std::string& e : status.errors) problems += (problems.empty() ? "" : "\n") + e;
        }
    } catch (...) {
        roll_back();
        throw;
    }
    if (!problems.empty()) {
        roll_back();
        throw ScenarioError(problems);
    }
    return created;
}

std::string Host::scenario_text()
{
    ScenarioText text;
    text.time = sim_time_;
    for (const auto& r : vessels_) {
        ScenarioBlock block;
        r->callbacks->clbkWriteScenario(&block);
        text.blocks.push_back({r->name, r->class_name, block.written});
    }
    return format_scenario(text);
}

void Host::save_scenario(const std::string& path)
{
    // The whole text first, so a craft that cannot be written leaves no file behind.
    write_file_atomically(path, scenario_text());
}

}  // namespace sim
