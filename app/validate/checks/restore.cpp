// Checks that a craft's save holds all of its state, and only its own: a
// flight resumed from its save in a new process goes on exactly as the
// uninterrupted one, and acting on one craft changes no other.
#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "process/runner.h"
#include "sim/scenario_file.h"
#include "telemetry.h"

namespace validate {

namespace {
// Texts packed into one, each behind its length, to come back from a process.
std::string Pack(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts) out += std::to_string(p.size()) + ":" + p;
    return out;
}

std::vector<std::string> Unpack(const std::string& packed)
{
    std::vector<std::string> out;
    for (size_t at = 0; at < packed.size();) {
        const size_t colon = packed.find(':', at);
        const size_t n = std::stoull(packed.substr(at, colon - at));
        out.push_back(packed.substr(colon + 1, n));
        at = colon + 1 + n;
    }
    return out;
}

// The craft whose save holds none of the host's own lines, comma-separated.
std::string WithoutHostLines(sim::Host& host)
{
    std::string out;
    for (const sim::ScenarioText::Block& b : host.scenario_blocks().blocks) {
        bool has = false;
        for (const sim::SavedLine& line : b.lines) has = has || line.by_host;
        if (!has) out += (out.empty() ? "" : ", ") + b.name;
    }
    return out;
}

// A flight from `seed`: craft made and flown, then saved; then steps and
// thruster settings from a randomness of their own, the telemetry after
// each recorded, and the save at the end. Keys are left out of that part:
// they are the module's commands, and a module may mean some to last only
// a session (a refuel allowed once, say). With `resume_from`, the first part is that save,
// loaded instead. The telemetry starts after a first frame that follows the
// save or the load alike. Returns {save, craft without the host's lines, what followed}.
std::string Flight(const CheckContext& ctx, std::uint64_t seed, const std::string* resume_from)
{
    sim::Host host;
    sim::Module& module = host.load_module(ctx.module);
    const ModuleProbe probe = probe_module(host, module);
    Random random(seed);
    Driver driver(host, module, probe, random);
    std::string save, missing;
    if (resume_from) {
        doing("loading the save");
        host.load_scenario(sim::parse_scenario(*resume_from, "the save"), module);
    } else {
        const int craft = 1 + static_cast<int>(random.below(3));
        for (int i = 0; i < craft; ++i) driver.add_craft();
        for (int i = 0; i < 10 + 10 * ctx.level; ++i) driver.random_action();
        driver.settle_for_save();
        save = host.scenario_text();
        missing = WithoutHostLines(host);
    }
    // A first frame, of no length, as a host runs after loading: a module
    // may finish its setting up there, and the host draws what it shows.
    host.step(0);
    Random after(trial_seed(seed, -1));
    Driver on(host, module, probe, after);
    std::vector<std::string> telemetry;
    for (int i = 0; i < 10 + 10 * ctx.level; ++i) {
        on.random_control();
        add_snapshot(host, telemetry, true);
    }
    for (const std::string& line : lines_of(host.scenario_text())) telemetry.push_back(line);
    return Pack({save, missing, Pack(telemetry)});
}

// The telemetry of the craft other than the first, and their saves, while the
// first is acted on (or, with `acting` false, only stepped with the others).
// With `reversed`, the others are made in the opposite order, under the same
// names; each step's lines are sorted, so that only what a craft does counts,
// not where the host lists it.
std::string Bystanders(const CheckContext& ctx, std::uint64_t seed, bool acting, bool reversed = false)
{
    sim::Host host(sim::CallLogging::on);
    require_call_log(host);
    sim::Module& module = host.load_module(ctx.module);
    const ModuleProbe probe = probe_module(host, module);
    Random random(seed);
    Driver driver(host, module, probe, random);
    const sim::Craft actor = driver.add_craft();
    const int others = 1 + ctx.level / 3;
    for (int i = 0; i < others; ++i) reversed ? driver.add_craft(others + 1 - i) : driver.add_craft();
    std::vector<std::string> seen;
    size_t calls = host.log().calls().size();
    for (int i = 0; i < 20 + 20 * ctx.level; ++i) {
        driver.random_action_on(actor, acting);
        std::vector<std::string> snapshot, made;
        add_snapshot(host, snapshot);
        calls = add_calls(host, calls, made);
        std::sort(snapshot.begin(), snapshot.end());
        std::sort(made.begin(), made.end());
        // The others' state, and the calls made on behalf of the others.
        for (const std::string& line : snapshot)
            if (line.rfind(actor.name() + " ", 0) != 0 && line.rfind("dialog ", 0) != 0) seen.push_back(line);
        for (const std::string& line : made) {
            const size_t at = line.find(" @");
            if (at == std::string::npos) continue;
            const std::string craft = line.substr(at + 2, line.find(' ', at + 2) - at - 2);
            if (craft != actor.name()) seen.push_back(line);
        }
    }
    std::map<std::string, std::vector<std::string>> saves;
    for (const sim::ScenarioText::Block& b : host.scenario_blocks().blocks) {
        if (b.name == actor.name()) continue;
        for (const sim::SavedLine& line : b.lines) saves[b.name].push_back(b.name + ": " + line.text);
    }
    for (const auto& [name, lines] : saves) seen.insert(seen.end(), lines.begin(), lines.end());
    return Pack(seen);
}
}  // namespace

namespace {
// One run of a trial in a new process, named first; its result unpacked
// into `out`. False, with the failure noted, when it did not finish. Every
// run starts with its fresh memory filled alike, so that a value read before
// it is written is the same in the runs compared: determinism is the check
// that tells it, naming it.
bool RunApart(Findings& f, const std::string& what, int trial, const std::function<std::string()>& run,
              std::vector<std::string>& out)
{
    doing(what, "", trial);
    return attempt(f, what, [&] { out = Unpack(in_fresh_process(run, 0x5A)); });
}
}  // namespace

void check_restore(const CheckContext& ctx, Findings& f)
{
    const int sessions = restore_sessions(ctx.level);
    for (int s = 1; s <= sessions && f.passed(); ++s) {
        if (!runs_trial(ctx, s)) continue;
        const std::string what = "session " + std::to_string(s);
        const std::uint64_t seed = trial_seed(ctx.seed, s);
        std::vector<std::string> whole, resumed;
        if (!RunApart(f, what + ": the uninterrupted flight", s, [&] { return Flight(ctx, seed, nullptr); }, whole))
            return;
        if (!whole[1].empty()) {
            f.fail(what + ": the save of " + whole[1] +
                   " holds none of the host's lines (position, velocity and the rest): is SaveDefaultState called?");
            return;
        }
        if (!RunApart(f, what + ": the flight resumed from its save in a new process", s,
                      [&] { return Flight(ctx, seed, &whole[0]); }, resumed))
            return;
        if (const std::string diff = first_difference(Unpack(whole[2]), Unpack(resumed[2])); !diff.empty())
            f.fail(what + ": flown on from its save in a new process, the flight parts from the uninterrupted one at " +
                   diff + " (the save: " + std::to_string(lines_of(whole[0]).size()) + " lines)");
    }
    if (f.passed()) f.note(std::to_string(sessions) + " flights saved, resumed in a new process and compared");
}

void check_isolation(const CheckContext& ctx, Findings& f)
{
    const int trials = isolation_trials(ctx.level);
    for (int t = 1; t <= trials && f.passed(); ++t) {
        if (!runs_trial(ctx, t)) continue;
        const std::string what = "trial " + std::to_string(t);
        const std::uint64_t seed = trial_seed(ctx.seed, t);
        std::vector<std::string> acted, left, reordered;
        if (!RunApart(
                f, what + ": acting on the first craft", t, [&] { return Bystanders(ctx, seed, true); }, acted) ||
            !RunApart(
                f, what + ": leaving every craft alone", t, [&] { return Bystanders(ctx, seed, false); }, left) ||
            !RunApart(
                f, what + ": leaving every craft alone, made in the opposite order", t,
                [&] { return Bystanders(ctx, seed, false, true); }, reordered))
            return;
        if (const std::string diff = first_difference(left, acted); !diff.empty())
            f.fail(what + ": acting on Craft-1 changed another craft (module-wide state?): left alone, then with "
                          "Craft-1 acted on, they part at " + diff);
        else if (const std::string parted = first_difference(left, reordered); !parted.empty())
            f.fail(what +
                   ": the craft behave differently when made in the opposite order (state taken from the "
                   "order of creation, a count of craft made?): made in order, then in the opposite "
                   "order, they part at " +
                   parted);
    }
    if (f.passed()) f.note(std::to_string(trials) + " trials of " + std::to_string(1 + ctx.level / 3) +
                           " craft looked on while another was acted on");
}

}  // namespace validate
