#include "options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "key_combo.h"
#include "thruster_groups.h"

namespace app {

namespace {
double Number(const std::string& option, const std::string& value, bool allow_zero)
{
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v) || v < 0 || (!allow_zero && v == 0))
        throw UsageError(option + ": \"" + value + "\" is not a number " + (allow_zero ? "at or above 0" : "above 0"));
    return v;
}

std::vector<double> StepList(const std::string& value)
{
    std::vector<double> out;
    size_t start = 0;
    while (true) {
        const size_t comma = value.find(',', start);
        out.push_back(Number("--step", value.substr(start, comma - start), false));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}
}  // namespace

Options parse_options(const std::vector<std::string>& args, const Options& defaults)
{
    Options o = defaults;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        bool has_value = false;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            value = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            has_value = true;
        }
        auto next = [&]() -> std::string {
            if (has_value) return value;
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value (see --help)");
            return args[++i];
        };
        auto flag = [&] {
            if (has_value) throw UsageError(arg + " takes no value");
        };
        if (arg == "-h" || arg == "--help") flag(), o.help = true;
        else if (arg == "-m" || arg == "--module") o.module = next();
        else if (arg == "--meshes") o.meshes = next();
        else if (arg == "--bitmap") o.bitmap = next();
        else if (arg == "-d" || arg == "--duration") o.duration = Number("--duration", next(), true);
        else if (arg == "-s" || arg == "--step") o.steps = StepList(next());
        else if (arg == "-w" || arg == "--warp") o.warp = Number("--warp", next(), false);
        else if (arg == "-a" || arg == "--at") {
            const std::string entry = next();
            o.actions.push_back(parse_action(entry, "--at"));
        } else if (arg == "-t" || arg == "--timeline") {
            for (Action& a : read_timeline_file(next())) o.actions.push_back(std::move(a));
        } else if (arg == "-o" || arg == "--out") o.out_dir = next();
        else if (arg == "--save") o.save = next();
        else if (arg == "--json") o.json = next();
        else if (arg == "--json-every") o.json_every = Number("--json-every", next(), true);
        else if (arg == "--no-pictures") flag(), o.pictures = false;
        else if (arg == "-q" || arg == "--quiet") flag(), o.quiet = true;
        else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg + " (see --help)");
        else positional.push_back(arg);
    }
    if (o.help) return o;
    if (positional.empty()) throw UsageError("no scenario file given (see --help)");
    if (positional.size() > 1) throw UsageError("one scenario file only; also got \"" + positional[1] + "\"");
    o.scenario = positional[0];
    for (const Action& a : o.actions)
        if (a.time > o.duration)
            throw UsageError(a.source + ": " + a.text + ": time " + std::to_string(a.time).substr(0, 10) +
                             " s lies after the end of the run (--duration " + std::to_string(o.duration).substr(0, 10) +
                             " s)");
    return o;
}

std::string help_text(const Options& d)
{
    return R"(Usage: simhost-run [options] SCENARIO

Flies the craft of a scenario file in the stand-in host: loads the vessel
module, creates every craft the file lists, runs the simulation for a while,
applies the actions you give at their times, and saves the scenario at the
end. It also draws SVG pictures of the craft and of its telemetry.

Options:
  -m, --module PATH     vessel module to load
                        (default: )" + d.module + R"()
      --meshes DIR      folder with the craft's meshes, e.g. DIR/Daskern/Mervex.obj
                        (default: )" + d.meshes + R"()
      --bitmap FILE     the control dialog's striped picture (.bmp)
                        (default: )" + d.bitmap + R"()
  -d, --duration SEC    simulated seconds to run (default: 20)
  -s, --step LIST       step length in seconds; a comma list such as 0.1,0.5,2
                        is used in turn, over and over (default: 0.1)
  -w, --warp FACTOR     time acceleration: each step covers LIST x FACTOR
                        simulated seconds (default: 1)
  -a, --at ACTION       an action at a simulated time (may be repeated), see below
  -t, --timeline FILE   actions from a file, one per line, fields separated
                        by blanks: "10 thrust main=1 for=30"; # starts a comment
  -o, --out DIR         folder for the saved scenario and the pictures
                        (default: simhost-out)
      --save FILE       where the final scenario goes (default: OUT/final.scn)
      --json FILE       telemetry of every craft as JSON
      --json-every SEC  one telemetry sample per SEC simulated seconds
                        (default: one per step)
      --no-pictures     draw no pictures
  -q, --quiet           no progress bar and no summary
  -h, --help            this text

Actions, TIME in seconds after the start; @CRAFT picks a craft by its
scenario name (default: the first craft in the file):
  TIME:key:KEYS[@CRAFT]         press and release a key, e.g. 0:key:K,
                                5:key:Shift+L@Mervex-2, 8:key:Ctrl+F, 1:key:0x25
  TIME:click:BUTTON             click a button of the open control dialog:
                                DEPLOY, lights or close
  TIME:thrust:GROUP=LEVEL[:for=SEC][@CRAFT]
                                set a thruster group to LEVEL (0 to 1), for SEC
                                seconds or until changed: 10:thrust:main=1:for=30
  TIME:save:FILE                save the scenario at that time as well
  TIME:picture[:NAME]           draw the craft from above at that time

Keys: )" + key_names_help() + R"(
Thruster groups: )" + group_names_help() + R"(

Mervex keys: K deploys the solar arrays, Shift+L switches the navigation
lights, Ctrl+F refuels once, Ctrl+Space opens the control dialog.

Steps are shortened where needed so that every action happens at its exact
time and the run ends exactly at --duration.

Output (in OUT): final.scn, top_view.svg (the craft from above), deployment.svg
(the arrays at several states), telemetry.svg (state over time) and, while the
control dialog is open, dialog.svg. The exit status is 0 on success and 1 with
a one-line reason on standard error for any bad input.

Example:
  simhost-run scenarios/stowed.scn --at 0:key:K --at 25:thrust:main=1:for=30 -d 60
)";
}

}  // namespace app
