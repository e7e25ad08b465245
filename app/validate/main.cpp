// simhost-validate: checks a vessel module with rising strictness.
#include <chrono>
#include <cstdio>
#include <exception>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "options.h"
#include "output/outputs.h"
#include "output/shell_quote.h"
#include "process/heap.h"
#include "process/reaper.h"
#include "process/runner.h"
#include "util/text_lines.h"

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

// A line that, pasted into a shell, runs the validator on just this check.
std::string RepeatLine(const validate::Options& o, const validate::Outcome& out)
{
    std::string line = "repeat: simhost-validate " + validate::shell_quoted(o.module) + " --level " +
                       std::to_string(o.level) + " --seed " + std::to_string(out.seed) + " --check " + out.check->name;
    if (out.trial) line += " --trial " + std::to_string(out.trial);
    if (o.timeout > 0) line += " --timeout " + std::to_string(static_cast<long long>(o.timeout));
    return line;
}

validate::Outcome RunInProcess(const validate::Check& check, const validate::CheckContext& context)
{
    std::printf(
        "%s runs in this process: isolation is off, and so is the time limit; a crash or hang of the "
        "module is the validator's\n",
        check.name);
    std::fflush(stdout);
    validate::Findings findings;
    const auto start = std::chrono::steady_clock::now();
    validate::run_here(check, context, findings);
    validate::Outcome out;
    out.check = &check;
    out.seed = context.seed;
    out.failures = std::move(findings.failures);
    out.warnings = std::move(findings.warnings);
    out.notes = std::move(findings.notes);
    out.trial = context.trial;
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out.passed = out.failures.empty() && (out.warnings.empty() || context.level < validate::warn_fail_level);
    return out;
}
}  // namespace

int main(int argc, char** argv)
{
    validate::exact_heap_accounting(argv);
    validate::Options options;
    try {
        options = validate::parse_options(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(validate::help_text().c_str(), stdout);
            return 0;
        }
        if (!options.seed_given) options.seed = (std::uint64_t(std::random_device{}()) << 32) | std::random_device{}();
        // Report files that could not be written are refused before any check runs.
        validate::check_outputs(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", Shown(e.what()).c_str());
        return 2;
    }
    const double timeout = options.timeout > 0 ? options.timeout : validate::default_timeout(options.level);
    if (!options.in_process) validate::become_reaper();

    std::printf("simhost-validate: %s at level %d, seed %llu\n", options.module.c_str(), options.level,
                static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
    std::vector<validate::Outcome> outcomes;
    for (int run = 0; run < options.repeat; ++run) {
        validate::CheckContext context{options.module, options.level, validate::run_seed(options, run), options.trial};
        if (run > 0)
            std::printf("run %d of %d, seed %llu\n", run + 1, options.repeat,
                        static_cast<unsigned long long>(context.seed));
        for (const validate::Check& check : validate::all_checks()) {
            if (!Selected(options, check)) continue;
            outcomes.push_back(options.in_process ? RunInProcess(check, context)
                                                  : validate::run_isolated(check, context, timeout));
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
    std::map<size_t, std::string> kept;
    try {
        kept = validate::write_outputs(options, outcomes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-validate: no report written: %s\n", Shown(e.what()).c_str());
        return 2;
    }
    for (size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].passed) continue;
        std::printf("%s\n", Shown(RepeatLine(options, outcomes[i])).c_str());
        if (kept.count(i)) std::printf("        the input it failed on: %s\n", Shown(kept[i]).c_str());
    }
    return failed ? 1 : 0;
}
