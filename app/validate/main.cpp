// simhost-validate: checks a vessel module with rising strictness.
#include <cstdio>
#include <exception>
#include <random>
#include <string>
#include <vector>

#include "heap.h"
#include "options.h"
#include "report.h"
#include "runner.h"
#include "sim/atomic_file.h"
#include "sim/text_lines.h"

namespace {
bool Selected(const validate::Options& o, const validate::Check& c)
{
    if (o.checks.empty()) return c.min_level <= o.level;
    for (const std::string& name : o.checks)
        if (name == c.name) return true;
    return false;
}

// A module's message as a terminal may show it, on one line.
std::string Shown(const std::string& text)
{
    std::string out;
    for (char c : sim::terminal_text(text)) {
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

const char* Verdict(const validate::Outcome& o)
{
    if (!o.passed) return "FAIL";
    return o.warnings.empty() ? "PASS" : "WARN";
}

// Where the input of a failed action is kept: beside the first report named.
std::string InputFile(const validate::Options& o, const validate::Outcome& out)
{
    const std::string& report = o.json.empty() ? o.junit : o.json;
    if (report.empty() || out.detail.empty()) return "";
    return report + "." + out.check->name + "-" + std::to_string(out.seed) + ".input";
}

std::string RepeatLine(const validate::Options& o, const validate::Outcome& out)
{
    std::string line = "repeat: simhost-validate '" + o.module + "' --level " + std::to_string(o.level) +
                       " --seed " + std::to_string(out.seed) + " --check " + out.check->name;
    if (out.trial) line += " --trial " + std::to_string(out.trial);
    if (o.timeout > 0) line += " --timeout " + std::to_string(static_cast<long long>(o.timeout));
    return line;
}
}  // namespace

int main(int argc, char** argv)
{
    validate::exact_heap_accounting(argv);
    validate::Options options;
    try {
        options = validate::parse_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const validate::UsageError& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", Shown(e.what()).c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(validate::help_text().c_str(), stdout);
        return 0;
    }
    // Report files that could not be written are refused before any check runs.
    try {
        for (const std::string& path : {options.json, options.junit})
            if (!path.empty()) sim::check_replaceable(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", Shown(e.what()).c_str());
        return 2;
    }
    if (!options.seed_given) options.seed = (std::uint64_t(std::random_device{}()) << 32) | std::random_device{}();
    const double timeout = options.timeout > 0 ? options.timeout : validate::default_timeout(options.level);

    std::printf("simhost-validate: %s at level %d, seed %llu\n", options.module.c_str(), options.level,
                static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
    std::vector<validate::Outcome> outcomes;
    for (int run = 0; run < options.repeat; ++run) {
        validate::CheckContext context{options.module, options.level, options.seed, options.trial};
        if (run > 0) {
            context.seed = validate::trial_seed(options.seed, -run);
            std::printf("run %d of %d, seed %llu\n", run + 1, options.repeat,
                        static_cast<unsigned long long>(context.seed));
        }
        for (const validate::Check& check : validate::all_checks()) {
            if (!Selected(options, check)) continue;
            outcomes.push_back(validate::run_isolated(check, context, timeout));
            const validate::Outcome& o = outcomes.back();
            std::printf("%s %-18s seed %llu  %.2f s\n", Verdict(o), check.name, static_cast<unsigned long long>(o.seed),
                        o.seconds);
            for (const std::string& f : o.failures) std::printf("     ! %s\n", Shown(f).c_str());
            for (const std::string& w : o.warnings) std::printf("     ? %s\n", Shown(w).c_str());
            for (const std::string& n : o.notes) std::printf("       %s\n", Shown(n).c_str());
            std::fflush(stdout);
        }
    }

    int failed = 0, warned = 0;
    for (const validate::Outcome& o : outcomes) failed += o.passed ? 0 : 1, warned += o.passed && !o.warnings.empty();
    std::printf("%zu checks, %d failed, %d warned\n", outcomes.size(), failed, warned);
    try {
        for (const validate::Outcome& o : outcomes) {
            if (o.passed) continue;
            std::printf("%s\n", RepeatLine(options, o).c_str());
            if (const std::string kept = InputFile(options, o); !kept.empty()) {
                sim::write_file_atomically(kept, o.detail);
                std::printf("        the input it failed on: %s\n", kept.c_str());
            }
        }
        if (!options.json.empty()) sim::write_file_atomically(options.json, validate::json_report(options, outcomes));
        if (!options.junit.empty())
            sim::write_file_atomically(options.junit, validate::junit_report(options, outcomes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", Shown(e.what()).c_str());
        return 2;
    }
    return failed ? 1 : 0;
}
