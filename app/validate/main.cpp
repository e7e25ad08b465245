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

namespace {
// Long enough for level 10 under the sanitizers on a busy machine; a module
// that hangs fails its check after it.
const unsigned check_timeout_seconds = 300;

bool Selected(const validate::Options& o, const validate::Check& c)
{
    if (o.checks.empty()) return c.min_level <= o.level;
    for (const std::string& name : o.checks)
        if (name == c.name) return true;
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    validate::exact_heap_accounting(argv);
    validate::Options options;
    try {
        options = validate::parse_options(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const validate::UsageError& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", e.what());
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
        std::fprintf(stderr, "simhost-validate: %s\n", e.what());
        return 2;
    }
    if (!options.seed_given) options.seed = (std::uint64_t(std::random_device{}()) << 32) | std::random_device{}();

    std::printf("simhost-validate: %s at level %d, seed %llu\n", options.module.c_str(), options.level,
                static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
    const validate::CheckContext context{options.module, options.level, options.seed};
    std::vector<validate::Outcome> outcomes;
    for (const validate::Check& check : validate::all_checks()) {
        if (!Selected(options, check)) continue;
        outcomes.push_back(validate::run_isolated(check, context, check_timeout_seconds));
        const validate::Outcome& o = outcomes.back();
        std::printf("%s %-18s seed %llu  %.2f s\n", o.passed ? "PASS" : "FAIL", check.name,
                    static_cast<unsigned long long>(o.seed), o.seconds);
        for (const std::string& f : o.failures) std::printf("     ! %s\n", f.c_str());
        for (const std::string& n : o.notes) std::printf("       %s\n", n.c_str());
        std::fflush(stdout);
    }

    int failed = 0;
    for (const validate::Outcome& o : outcomes) failed += o.passed ? 0 : 1;
    std::printf("%zu checks, %d failed\n", outcomes.size(), failed);
    for (const validate::Outcome& o : outcomes)
        if (!o.passed)
            std::printf("repeat: simhost-validate %s --level %d --seed %llu --check %s\n", options.module.c_str(),
                        options.level, static_cast<unsigned long long>(o.seed), o.check->name);
    try {
        if (!options.json.empty()) sim::write_file_atomically(options.json, validate::json_report(options, outcomes));
        if (!options.junit.empty())
            sim::write_file_atomically(options.junit, validate::junit_report(options, outcomes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "simhost-validate: %s\n", e.what());
        return 2;
    }
    return failed ? 1 : 0;
}
