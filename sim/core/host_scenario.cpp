// Loading and saving scenarios: the host places its own lines, each craft's
// module reads and writes the rest of its block.
#include <set>

#include "util/atomic_file.h"
#include "core/host_impl.h"
#include "scenario/scenario_block.h"
#include "sim/scenario_file.h"
#include "util/text_lines.h"

namespace sim {

std::vector<Craft> Host::Impl::load_scenario(Scenario scenario, const ModuleLocator& locate)
{
    std::set<std::string> names;
    for (const auto& r : vessels_) names.insert(r->name);
    auto where = [&](const ScenarioVessel& v) { return scenario.file + ":" + std::to_string(v.line_no) + ": "; };
    auto text = [](const ScenarioVessel& v) { return shown_text("BEGIN_VESSEL " + v.name + ":" + v.class_name); };
    for (const ScenarioVessel& v : scenario.vessels)
        if (!names.insert(v.name).second)
            throw ScenarioError(where(v) + "a vessel of this name exists already: " + text(v));

    // All or nothing: a scenario that fails leaves the host as it was, so
    // the modules loaded for it go again. Loading appends to modules_.
    const size_t old_modules = modules_.size();
    const double old_time = sim_time_;
    std::vector<VesselRecord*> created;
    auto roll_back = [&] {
        for (auto it = created.rbegin(); it != created.rend(); ++it) remove_vessel(**it);
        while (modules_.size() > old_modules) drop_module(*modules_.back());
        sim_time_ = old_time;
    };
    std::string problems;
    std::size_t shown = 0, more = 0;
    try {
        std::vector<Module*> module_of_vessel;
        for (const ScenarioVessel& v : scenario.vessels) {
            Module* m = find_module(v.class_name);
            if (!m) {
                std::string path;
                try {
                    path = locate(v.class_name);
                    m = &add_module(path);
                } catch (const std::exception& e) {
                    throw ScenarioError(where(v) + e.what() + ": " + text(v));
                }
                if (m->class_name() != v.class_name)
                    throw ScenarioError(where(v) + "the module " + path + " defines the class " + m->class_name() +
                                        ": " + text(v));
            }
            module_of_vessel.push_back(m);
        }
        sim_time_ = scenario.time;
        for (size_t i = 0; i < scenario.vessels.size(); ++i) {
            ScenarioVessel& v = scenario.vessels[i];
            VesselRecord& rec = add_vessel(*module_of_vessel[i], v.name, 1);
            created.push_back(&rec);
            ScenarioBlock block;
            block.file = scenario.file;
            block.lines = std::move(v.lines);
            ParseStatus status;
            status.vessel = &rec;
            status.block = &block;
            scenario_handles_ = {&block, &status, nullptr};
            module_faults_->call_module("clbkReadScenario", &rec, [&] { rec.callbacks->clbkReadScenario(&block, &status); });
            scenario_handles_ = {};
            for (const std::string& e : status.errors) {
                if (shown++ < ParseStatus::max_errors) problems += (problems.empty() ? "" : "\n") + e;
                else ++more;
            }
            more += status.more_errors;
        }
    } catch (...) {
        scenario_handles_ = {};
        roll_back();
        throw;
    }
    // Every craft has read its block before any finishes its setting up.
    if (module_faults_->pending().empty() && problems.empty()) post_creation(created);
    if (!module_faults_->pending().empty() || !problems.empty()) {
        roll_back();
        module_faults_->report();
        throw ScenarioError(more ? problems + "\nand " + std::to_string(more) + " more problems" : problems);
    }
    if (!focus_ && !created.empty()) move_focus(created.front());
    module_faults_->report();
    std::vector<Craft> loaded;
    for (VesselRecord* r : created) loaded.emplace_back(r);
    return loaded;
}

std::vector<Craft> Host::Impl::load_scenario(Scenario scenario, Module& module)
{
    return load_scenario(std::move(scenario), [&](const std::string&) -> std::string {
        throw ScenarioError("the module " + module.path() + " defines the class " + module.class_name());
    });
}

ScenarioText Host::Impl::scenario_blocks()
{
    ScenarioText text;
    text.time = sim_time_;
    for (const auto& r : vessels_) {
        ScenarioBlock block;
        scenario_handles_.write = &block;
        module_faults_->call_module("clbkWriteScenario", r.get(), [&] { r->callbacks->clbkWriteScenario(&block); });
        scenario_handles_.write = nullptr;
        text.blocks.push_back({r->name, r->class_name, block.written});
    }
    module_faults_->report();
    return text;
}

std::string Host::Impl::scenario_text() { return format_scenario(scenario_blocks()); }

void Host::Impl::save_scenario(const std::string& path)
{
    // The whole text first, so a craft that cannot be written leaves no file behind.
    write_file_atomically(path, scenario_text());
}

}  // namespace sim
