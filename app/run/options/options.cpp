#include "options/options.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "keys/key_combo.h"
#include "options/decimal.h"
#include "options/thruster_groups.h"
#include "sim/module_folder.h"
#include "util/number_text.h"
#include "util/text_lines.h"

namespace app {

namespace {
double Number(const std::string& option, const std::string& value, bool allow_zero)
{
    double v = 0;
    if (!parse_decimal(value, v) || (!allow_zero && v == 0))
        throw UsageError(option + ": \"" + sim::shown_text(value) + "\" is not a number " +
                         (allow_zero ? "at or above 0" : "above 0") + " (digits, a point, an exponent)");
    return v;
}

double Count(const std::string& option, const std::string& value)
{
    double v = 0;
    if (!parse_decimal(value, v) || v < 1 || v != std::floor(v))
        throw UsageError(option + ": \"" + sim::shown_text(value) + "\" is not a whole number above 0");
    return v;
}

std::string Path(const std::string& option, const std::string& value, const char* what)
{
    if (value.empty()) throw UsageError(option + ": no " + what + " given");
    return value;
}

// Refuses up front a run that would not end in reasonable time: each step
// covers a step length times the warp, and each action may cut one short.
void CheckStepCount(const Options& o)
{
    double pattern = 0;
    for (double s : o.steps) pattern += s;
    const double mean = pattern / double(o.steps.size());
    const double estimate = o.duration == 0 ? 0 : o.duration / (mean * o.warp) + 2 * double(o.actions.size());
    if (estimate <= o.max_steps) return;
    char count[32];
    std::snprintf(count, sizeof count, "%.3g", estimate);
    throw UsageError("the run would take about " + std::string(count) + " steps (--duration " +
                     sim::number_text(o.duration) + " s in steps of " + sim::number_text(mean) + " s at --warp " +
                     sim::number_text(o.warp) + "), more than --max-steps " + sim::number_text(o.max_steps) +
                     "; take longer steps or raise --max-steps");
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
    CommandLine line(args);
    while (line.next()) {
        const std::string& arg = line.name();
        auto next = [&] { return line.value(); };
        auto flag = [&] { line.no_value(); };
        if (arg == "-h" || arg == "--help") flag(), o.help = true;
        else if (arg == "-m" || arg == "--module") o.module = Path("--module", next(), "module path");
        else if (arg == "--modules") o.modules = Path("--modules", next(), "modules folder");
        else if (arg == "--meshes") o.meshes = Path("--meshes", next(), "mesh folder");
        else if (arg == "-d" || arg == "--duration") o.duration = Number("--duration", next(), true);
        else if (arg == "-s" || arg == "--step") o.steps = StepList(next());
        else if (arg == "-w" || arg == "--warp") o.warp = Number("--warp", next(), false);
        else if (arg == "--max-steps") o.max_steps = Count("--max-steps", next());
        else if (arg == "-a" || arg == "--at") {
            const std::string entry = next();
            o.actions.push_back(parse_action(entry, "--at"));
        } else if (arg == "-t" || arg == "--timeline") {
            o.timelines.push_back(Path("--timeline", next(), "timeline file"));
            std::vector<Action> read = read_timeline_file(o.timelines.back());
            // Moved whole when it is the first, so that a long timeline is not held twice.
            if (o.actions.empty()) o.actions = std::move(read);
            else o.actions.insert(o.actions.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
        } else if (arg == "-o" || arg == "--out") o.out_dir = Path("--out", next(), "output folder");
        else if (arg == "--save") o.save = Path("--save", next(), "file to save to");
        else if (arg == "--json") o.json = Path("--json", next(), "telemetry file");
        else if (arg == "--json-every") o.json_every = Number("--json-every", next(), true);
        else if (arg == "--no-save-on-stop") flag(), o.save_on_stop = false;
        else if (arg == "--no-pictures") flag(), o.pictures = false;
        else if (arg == "-q" || arg == "--quiet") flag(), o.quiet = true;
        else if (arg == "--serve") flag(), o.serve = true;
        else if (arg == "--port") {
            const double port = Number("--port", next(), true);
            if (port > 65535 || port != std::floor(port)) throw UsageError("--port: a whole number from 0 to 65535");
            o.port = static_cast<unsigned short>(port);
        }
        else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + sim::shown_text(arg) + " (see --help)");
        else positional.push_back(arg);
    }
    if (o.help) return o;
    if (positional.empty()) throw UsageError("no scenario file given (see --help)");
    if (positional.size() > 1) throw UsageError("one scenario file only; also got \"" + sim::shown_text(positional[1]) + "\"");
    o.scenario = Path("the scenario", positional[0], "scenario file");
    if (o.serve && !o.actions.empty())
        throw UsageError("--serve takes its actions from the page, not from --at or --timeline");
    for (const Action& a : o.actions)
        if (a.time > o.duration)
            throw UsageError(a.source() + ": " + sim::shown_text(a.text) + ": time " + sim::number_text(a.time) +
                             " s lies after the end of the run (--duration " + sim::number_text(o.duration) + " s)");
    CheckStepCount(o);
    return o;
}

std::string help_text(const Options& d)
{
    return R"(Usage: simhost-run [options] SCENARIO

Flies the craft of a scenario file in the stand-in host: loads the vessel
module of each class the file names (BEGIN_VESSEL NAME:CLASS), creates every
craft the file lists, runs the simulation for a while, applies the actions
you give at their times, and saves the scenario at the end. It also draws
SVG pictures of the craft and of its telemetry.

Options:
      --modules DIR     folder of vessel modules: class CLASS is DIR/CLASS)" + std::string(sim::module_suffix) + R"(
                        (default: )" + d.modules + R"()
  -m, --module PATH     a vessel module outside that folder; it serves the
                        class named by its file name
      --meshes DIR      folder with the meshes the craft name, as DIR/NAME.obj
                        (default: )" + d.meshes + R"()
  -d, --duration SEC    simulated seconds to run (default: 20)
  -s, --step LIST       step length in seconds; a comma list such as 0.1,0.5,2
                        is used in turn, over and over (default: 0.1)
  -w, --warp FACTOR     time acceleration: each step covers LIST x FACTOR
                        simulated seconds (default: 1)
      --max-steps N     refuse a run of more than N steps (default: 10000000)
  -a, --at ACTION       an action at a simulated time (may be repeated), see below
  -t, --timeline FILE   actions from a file, one per line, fields separated
                        by blanks: "10 thrust main=1 for=30"; # starts a comment
  -o, --out DIR         folder for the saved scenario and the pictures
                        (default: simhost-out)
      --save FILE       where the final scenario goes (default: OUT/final.scn)
      --json FILE       telemetry of every craft as JSON
      --json-every SEC  one telemetry sample per SEC simulated seconds, 0 for
                        every step (default: a thousandth of --duration, which
                        is every step of a short run and 1000 samples of a long one)
      --no-save-on-stop a run stopped early (Ctrl+C, a state that stops being
                        finite) leaves the --save file as it was
      --no-pictures     draw no pictures
  -q, --quiet           no progress bar and no summary
      --serve           fly live for a page in the browser instead: prints
                        "Open http://127.0.0.1:PORT/?token=..." and runs until
                        the page's Quit or Ctrl+C; every action on the page is
                        recorded in OUT/session.timeline, which a batch run
                        replays to the same OUT/final.scn (the file says how)
      --port N          where --serve listens, on 127.0.0.1 only (default: 0,
                        any free port)
  -h, --help            this text

Actions, TIME in seconds after the start; @CRAFT picks a craft by its
scenario name (default: the craft with the focus, at first the first craft
in the file):
  TIME:key:KEYS[@CRAFT]         press and release a key (with its modifiers
                                held), e.g. 0:key:K, 5:key:Shift+L@Craft-2,
                                8:key:Ctrl+Space, 1:key:0x25
  TIME:click:BUTTON             click a button of an open dialog, named by its
                                caption in the module's dialog template (any
                                case), by its control id, or "close" for the
                                close box: 3:click:OK, 3:click:1003, 3:click:close;
                                the most recently opened dialog with it gets it
  TIME:thrust:GROUP=LEVEL[:for=SEC][@CRAFT]
                                set a thruster group to LEVEL (0 to 1), for SEC
                                seconds or until changed: 10:thrust:main=1:for=30
  TIME:focus:CRAFT              move the focus to CRAFT: held keys and actions
                                without @CRAFT go to it from then on
  TIME:save:NAME                save the scenario at that time as well, to
                                OUT/NAME (letters, digits, '-', '_', '.')
  TIME:picture[:NAME]           draw the craft from above at that time

Keys: )" + key_names_help() + R"(
Thruster groups: )" + group_names_help() + R"(

What a key does is up to the module of the craft it goes to.

Steps are shortened where needed so that every action happens at its exact
time and the run ends exactly at --duration.

Output (in OUT): final.scn, top_view.svg (the craft from above), deployment.svg
(the first craft at several states of its first animation), telemetry.svg
(state over time) and, while a dialog is open, dialog.svg with every open
dialog as its module's template and bitmaps show it. Each file appears whole or not at all, and
a file is never written through a link; two outputs on one file, an output
on an input, or one in the modules folder are refused before the run.
Ctrl+C (or SIGTERM) ends the run after the current step and saves the state
reached; a second one ends the program at once, saving nothing and leaving
no temporary file.

The exit status is 0 on success, 130 for a run stopped by Ctrl+C or SIGTERM,
and 1 with a one-line reason on standard error for any bad input or failure,
including any fault of a module: a call the host could not honour, named with
its arguments and craft ("module fault: SetAnimation(7, 0.5) on Mervex-1: ..."),
or an exception out of one of its callbacks. A fault met while flying stops
the run after the callback, and the state reached is saved.

Example:
  simhost-run scenarios/stowed.scn --at 0:key:K --at 25:thrust:main=1:for=30 -d 60
)";
}

}  // namespace app
