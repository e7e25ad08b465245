#include "output/outputs.h"

#include <memory>

#include "files/same_file.h"
#include "output/report.h"
#include "sim/module_resources.h"
#include "util/atomic_file.h"

namespace validate {

namespace {
struct Planned {
    std::string path;
    std::string what;  // for messages: "--json", "the input kept for restore", ...
};

bool Selected(const Options& o, const Check& c)
{
    if (o.checks.empty()) return c.min_level <= o.level;
    for (const std::string& name : o.checks)
        if (name == c.name) return true;
    return false;
}
}  // namespace

std::uint64_t run_seed(const Options& o, int run) { return run == 0 ? o.seed : trial_seed(o.seed, -run); }

std::string input_file(const Options& o, const std::string& check, std::uint64_t seed)
{
    const std::string& report = o.json.empty() ? o.junit : o.json;
    if (report.empty()) return "";
    return report + "." + check + "-" + std::to_string(seed) + ".input";
}

void check_outputs(const Options& o)
{
    std::vector<Planned> outputs;
    if (!o.json.empty()) outputs.push_back({o.json, "--json"});
    if (!o.junit.empty()) outputs.push_back({o.junit, "--junit"});
    for (int run = 0; run < o.repeat; ++run)
        for (const Check& c : all_checks())
            if (Selected(o, c))
                if (const std::string in = input_file(o, c.name, run_seed(o, run)); !in.empty())
                    outputs.push_back({in, std::string("the input kept for a failure of ") + c.name});
    const std::vector<Planned> inputs{{o.module, "the module"},
                                      {sim::module_resource_file(o.module), "the module's resources"}};
    for (size_t i = 0; i < outputs.size(); ++i) {
        for (const Planned& in : inputs)
            if (app::same_file(outputs[i].path, in.path))
                throw UsageError(outputs[i].what + " would write " + outputs[i].path + ", which is " + in.what +
                                 " it reads");
        for (size_t j = 0; j < i; ++j)
            if (app::same_file(outputs[i].path, outputs[j].path))
                throw UsageError(outputs[j].what + " and " + outputs[i].what + " would both write " + outputs[i].path);
    }
    for (const Planned& out : outputs) sim::check_creatable(out.path);
}

std::map<size_t, std::string> write_outputs(const Options& o, const std::vector<Outcome>& outcomes)
{
    std::vector<std::unique_ptr<sim::AtomicFile>> files;
    std::map<size_t, std::string> kept;
    auto add = [&](const std::string& path, const std::string& text) {
        files.push_back(std::make_unique<sim::AtomicFile>(path));
        files.back()->write(text);
    };
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& out = outcomes[i];
        if (out.passed || out.detail.empty()) continue;
        if (const std::string path = input_file(o, out.check->name, out.seed); !path.empty()) {
            add(path, out.detail);
            kept[i] = path;
        }
    }
    if (!o.json.empty()) add(o.json, json_report(o, outcomes));
    if (!o.junit.empty()) add(o.junit, junit_report(o, outcomes));
    for (const auto& f : files) f->commit();
    return kept;
}

}  // namespace validate
