// Checks that what a module keeps is faithful: its save reads back to the
// same save, and a seed gives the same flight every time.
#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "process/runner.h"
#include "sim/scenario_file.h"
#include "telemetry.h"

namespace validate {

namespace {
// A session of random use from `seed`; the save at its end, after a step of
// no length, as a host saves after its first frame.
std::string FlyAndSave(const CheckContext& ctx, std::uint64_t seed)
{
    sim::Host host;
    sim::Module& module = host.load_module(ctx.module);
    const ModuleProbe probe = probe_module(host, module);
    Random random(seed);
    Driver driver(host, module, probe, random);
    const int craft = 1 + static_cast<int>(random.below(3));
    for (int i = 0; i < craft; ++i) driver.add_craft();
    for (int i = 0; i < 20 + 10 * ctx.level; ++i) driver.random_action();
    driver.step(0);
    return host.scenario_text();
}

// How many of each part a craft has, named by the call that makes it.
std::vector<std::pair<const char*, size_t>> Parts(const sim::Craft& c)
{
    return {{"propellant resources (CreatePropellantResource)", c.tanks().size()},
            {"thrusters (CreateThruster)", c.thrusters().size()},
            {"thruster groups (CreateThrusterGroup)", c.groups().size()},
            {"exhausts (AddExhaust)", c.exhausts().size()},
            {"docking ports (CreateDock)", c.docks().size()},
            {"attachments (CreateAttachment)", c.attachments().size()},
            {"meshes (AddMesh)", c.meshes().size()},
            {"animations (CreateAnimation)", c.animations().size()},
            {"animation components (AddAnimationComponent)", c.components().size()},
            {"beacons (AddBeacon)", c.beacons().size()}};
}

// Loads the save and saves again. A loaded craft with more or fewer parts
// than one just defined is named in `parts_differ`: a part made again, or
// only, outside clbkDefineClass.
std::string LoadAndSave(const CheckContext& ctx, const std::string& text, std::string& parts_differ)
{
    sim::Host host;
    sim::Module& module = host.load_module(ctx.module);
    host.load_scenario(sim::parse_scenario(text, "first save"), module);
    host.step(0);
    const sim::Craft fresh = host.create_craft(module, "Just-defined");
    const auto defined = Parts(fresh);
    for (const sim::Craft c : host.all_craft()) {
        if (c == fresh || !parts_differ.empty()) continue;
        const auto loaded = Parts(c);
        for (size_t i = 0; i < loaded.size() && parts_differ.empty(); ++i)
            if (loaded[i].second != defined[i].second)
                parts_differ = c.name() + " loaded from the save has " + std::to_string(loaded[i].second) + " " +
                               loaded[i].first + " where a craft just defined has " +
                               std::to_string(defined[i].second) +
                               ": a part made outside clbkDefineClass (again in clbkReadScenario?)";
    }
    host.destroy_craft(fresh);
    return host.scenario_text();
}

std::vector<std::string> Telemetry(const CheckContext& ctx)
{
    std::vector<std::string> out;
    sim::Host host(sim::CallLogging::on);
    require_call_log(host);
    sim::Module& module = host.load_module(ctx.module);
    const ModuleProbe probe = probe_module(host, module);
    Random random(ctx.seed);
    Driver driver(host, module, probe, random);
    size_t calls = add_calls(host, 0, out);
    for (int i = 0; i < 2; ++i) driver.add_craft();
    for (int i = 0; i < 50 * ctx.level; ++i) {
        driver.random_action();
        add_snapshot(host, out);
        calls = add_calls(host, calls, out);
    }
    for (const std::string& line : lines_of(host.scenario_text())) out.push_back(line);
    return out;
}
}  // namespace

void check_save_load_save(const CheckContext& ctx, Findings& f)
{
    const int sessions = 2 + ctx.level / 2;
    for (int s = 0; s < sessions && f.passed(); ++s) {
        const std::string what = "session " + std::to_string(s + 1);
        std::string first, second, parts_differ;
        if (!attempt(f, what + ": flying and saving", [&] { first = FlyAndSave(ctx, ctx.seed + s); })) return;
        if (!attempt(f, what + ": loading that save and saving again",
                     [&] { second = LoadAndSave(ctx, first, parts_differ); }))
            return;
        if (!parts_differ.empty()) f.fail(what + ": " + parts_differ);
        if (const std::string diff = first_difference(lines_of(first), lines_of(second)); !diff.empty())
            f.fail(what + ": the second save differs from the first at " + diff);
    }
    if (f.passed()) f.note(std::to_string(sessions) + " sessions saved, loaded and saved again");
}

void check_determinism(const CheckContext& ctx, Findings& f)
{
    // Each run in a new process, the second in a later second of the wall
    // clock than the first ended in and with its fresh memory filled
    // differently: a module seeded from either differs.
    auto run = [&] {
        const std::vector<std::string> lines = Telemetry(ctx);
        std::string out;
        for (const std::string& line : lines) out += line + '\n';
        return out;
    };
    constexpr unsigned char fill = 0x5A, other_fill = 0xA5;
    std::vector<std::string> first, second, third;
    if (!attempt(f, "first run", [&] { first = lines_of(in_fresh_process(run, fill)); })) return;
    for (const std::time_t ended = std::time(nullptr); std::time(nullptr) == ended;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!attempt(f, "second run", [&] { second = lines_of(in_fresh_process(run, other_fill)); })) return;
    const std::string diff = first_difference(first, second);
    if (diff.empty()) {
        f.note(std::to_string(first.size()) + " entries of telemetry and calls alike");
        return;
    }
    // A third run, later still but with the first run's fill, tells which made the difference.
    if (!attempt(f, "third run", [&] { third = lines_of(in_fresh_process(run, fill)); })) return;
    if (third == first)
        f.fail("two runs of one seed part at " + diff +
               ", and only because their fresh memory held different bytes: a value is read before it is "
               "written (a field left uninitialised?)");
    else
        f.fail("two runs of one seed part at " + diff);
}

}  // namespace validate
