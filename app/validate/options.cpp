#include "options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "build_kind.h"
#include "check.h"

namespace validate {

namespace {
std::uint64_t Unsigned(const std::string& option, const std::string& value, std::uint64_t most)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(value.c_str(), &end, 10);
    if (value.empty() || value[0] == '-' || value[0] == '+' || *end != '\0' || errno == ERANGE || v > most)
        throw UsageError(option + ": \"" + value + "\" is not a whole number from 0 to " + std::to_string(most));
    return v;
}

bool KnownCheck(const std::string& name)
{
    for (const Check& c : all_checks())
        if (name == c.name) return true;
    return false;
}
// A trial the checks chosen do not run is refused rather than passed.
void CheckTrial(const Options& o)
{
    bool any = false;
    for (const Check& c : all_checks()) {
        const bool chosen = o.checks.empty() ? c.min_level <= o.level
                                             : std::find(o.checks.begin(), o.checks.end(), c.name) != o.checks.end();
        if (!chosen || !c.trials) continue;
        any = true;
        if (o.trial > c.trials(o.level))
            throw UsageError("--trial " + std::to_string(o.trial) + ": " + c.name + " runs trials 1 to " +
                             std::to_string(c.trials(o.level)) + " at level " + std::to_string(o.level));
    }
    if (!any) throw UsageError("--trial: none of the checks chosen is made of numbered trials");
}
}  // namespace

double default_timeout(int level) { return (5 + 2 * level) * slowdown; }

Options parse_options(const std::vector<std::string>& args)
{
    Options o;
    std::vector<std::string> positional;
    app::CommandLine line(args);
    while (line.next()) {
        const std::string& arg = line.name();
        auto next = [&] { return line.value(); };
        if (arg == "-h" || arg == "--help") {
            line.no_value();
            o.help = true;
        } else if (arg == "--level") {
            const std::string v = next();
            const char* digits = "0123456789";
            if (v.empty() || v.size() > 2 || v.find_first_not_of(digits) != std::string::npos || std::stoi(v) < 1 ||
                std::stoi(v) > 10)
                throw UsageError("--level: \"" + v + "\" is not a level from 1 to 10");
            o.level = std::stoi(v);
        } else if (arg == "--seed") {
            o.seed = Unsigned(arg, next(), UINT64_MAX);
            o.seed_given = true;
        } else if (arg == "--json") {
            o.json = next();
        } else if (arg == "--junit") {
            o.junit = next();
        } else if (arg == "--trial") {
            o.trial = static_cast<int>(Unsigned(arg, next(), 1000000));
        } else if (arg == "--timeout") {
            o.timeout = static_cast<double>(Unsigned(arg, next(), 86400));
            if (o.timeout == 0) throw UsageError("--timeout: give at least 1 second");
        } else if (arg == "--repeat") {
            o.repeat = static_cast<int>(Unsigned(arg, next(), 10000));
            if (o.repeat == 0) throw UsageError("--repeat: give at least 1 run");
        } else if (arg == "--in-process") {
            line.no_value();
            o.in_process = true;
        } else if (arg == "--check") {
            const std::string name = next();
            if (!KnownCheck(name)) throw UsageError("--check: no check is called \"" + name + "\" (see --help)");
            o.checks.push_back(name);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg + " (see --help)");
        } else {
            positional.push_back(arg);
        }
    }
    if (o.help) return o;
    if (positional.size() != 1) throw UsageError("give exactly one module to check (see --help)");
    // A name without a folder is the file here, not one the loader searches for.
    o.module = std::filesystem::absolute(positional[0]).lexically_normal().string();
    if (o.in_process && (o.checks.size() != 1 || o.repeat != 1))
        throw UsageError("--in-process runs one check once: give exactly one --check NAME, and no --repeat");
    if (o.trial > 0) CheckTrial(o);
    return o;
}

std::string help_text()
{
    std::string text =
        "Usage: simhost-validate MODULE [--level 1..10] [--seed S] [--json FILE] [--junit FILE]\n"
        "                        [--check NAME]... [--trial N] [--timeout S] [--repeat N]\n"
        "                        [--in-process]\n"
        "\n"
        "Checks a vessel module (a shared library built against the host interface)\n"
        "in the stand-in host. Each check runs in a process group of its own and\n"
        "prints PASS, WARN or FAIL with the seed that repeats it; a failure names the\n"
        "action it met, and a line `repeat:` replays it. The exit status is 1 when\n"
        "any check fails, 2 for a command line that cannot be followed.\n"
        "\n"
        "A check passes only on its own finished report, sealed with a value made\n"
        "for it alone: a module that ends the process, crashes, writes into the\n"
        "report, outlasts the time limit or leaves a process running (in whatever\n"
        "group or session) fails it. WARN is what is suspicious but may be meant\n"
        "(an empty thruster group, reading past the end of a scenario block, calls\n"
        "into the host while unloading, a key callback that takes every key); from\n"
        "level 8 on a warning fails its check.\n"
        "\n"
        "What the module answers to is learnt first: every key with no modifier,\n"
        "Shift, Ctrl and Alt is pressed once on a craft, noting the keys it takes and\n"
        "those that open a dialog, and the first words of the lines it saves.\n"
        "\n"
        "  --level N     1 to 10 (default 5): which checks run and how hard they push\n"
        "  --seed S      the random seed (default: a new one, printed)\n"
        "  --json FILE   write the results as JSON\n"
        "  --junit FILE  write the results as JUnit XML\n"
        "  --check NAME  run only this check (repeatable)\n"
        "  --trial N     run only trial N of checks made of numbered trials\n"
        "  --timeout S   seconds a check may take (default 5 + 2 x level)\n"
        "  --repeat N    run the checks N times, each with a fresh seed\n"
        "  --in-process  run the one --check (and --trial) in the validator's own\n"
        "                process, for a debugger: isolation and the time limit are off\n"
        "  -h, --help    this text\n"
        "\n"
        "Checks, from the level named on:\n";
    const size_t indent = 22, width = 79;
    for (const Check& c : all_checks()) {
        std::string line = "  " + std::to_string(c.min_level) + (c.min_level < 10 ? "  " : " ") + c.name;
        line.resize(indent, ' ');
        // The summary wrapped at word boundaries under its first line.
        std::string word;
        const std::string summary = std::string(c.summary) + " ";
        for (char ch : summary) {
            if (ch != ' ') {
                word += ch;
                continue;
            }
            if (line.size() + word.size() + 1 > width && line.size() > indent) {
                text += line + "\n";
                line = std::string(indent, ' ');
            }
            line += (line.size() > indent ? " " : "") + word;
            word.clear();
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace validate
