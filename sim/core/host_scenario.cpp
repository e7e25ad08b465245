// Loading and saving scenarios: the host places its own lines, each craft's
// module reads and writes the rest of its block.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "sim/host.h"
#include "sim/scenario_file.h"

namespace sim {

std::vector<VesselRecord*> Host::load_scenario(const Scenario& scenario, Module& module)
{
    const std::string class_name = module.class_name();
    std::set<std::string> names;
    for (const auto& r : vessels_) names.insert(r->name);
    for (const ScenarioVessel& v : scenario.vessels) {
        const std::string where = scenario.file + ":" + std::to_string(v.line_no) + ": ";
        const std::string text = "BEGIN_VESSEL " + v.name + ":" + v.class_name;
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
    const std::string text = scenario_text();
    const std::string tmp = path + ".tmp";
    auto fail = [&](const std::string& what, int err) {
        std::remove(tmp.c_str());
        throw std::runtime_error("cannot save the scenario to " + path + ": " + what + ": " + std::strerror(err));
    };
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) fail("cannot create " + tmp, errno);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const int write_err = errno;
    if (std::fclose(f) != 0 || !written) fail("cannot write " + tmp, written ? errno : write_err);
#if defined(_WIN32)
    // The C library's rename does not replace an existing file on Windows.
    if (!MoveFileExA(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        fail("cannot replace it with " + tmp, GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO);
#else
    if (std::rename(tmp.c_str(), path.c_str()) != 0) fail("cannot replace it with " + tmp, errno);
#endif
}

}  // namespace sim
