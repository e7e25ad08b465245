// The stand-in host's speed and memory with many craft, each measured beside
// a floor in the same run:
//   Step/floor     the host's equations on plain arrays (floor_fleet.h)
//   Step/NullVessel a host step with craft whose module does nothing per step
//   Step/Mervex    a host step with Mervex craft
// and scenario loading and saving. Every case counts the heap allocations
// it makes per iteration; the ratios are printed after the table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "floor_fleet.h"
#include "heap_counter.h"
#include "sim/host.h"
#include "sim/keyboard.h"
#include "sim/scenario_file.h"

namespace {

const double step_length = 0.01;

// A host with `craft` craft of one module, all burning gently (for far
// longer than a benchmark runs) and Mervex's arrays deploying.
struct Fleet {
    Fleet(const char* module_path, int craft)
    {
        sim::Module& module = host.load_module(module_path);
        for (int i = 0; i < craft; ++i) {
            const sim::Craft v = host.create_craft(module, "Craft-" + std::to_string(i + 1));
            host.key_press(v, OAPI_KEY_K);
            host.set_thrust(v, THGROUP_MAIN, 0.01);
            host.set_thrust(v, THGROUP_ATT_YAWLEFT, 0.001);
        }
        // Past the first steps, which fill what the host keeps between steps.
        for (int i = 0; i < 3; ++i) host.step(step_length);
    }
    sim::Host host;
};

// Allocations per iteration of the loop it is wrapped around.
class AllocationCount {
public:
    AllocationCount() : start_(bench::heap_count().allocations) {}
    void report(benchmark::State& state) const
    {
        const double made = double(bench::heap_count().allocations - start_);
        state.counters["allocs/iter"] = state.iterations() ? made / double(state.iterations()) : 0;
    }

private:
    size_t start_;
};

bool Close(double a, double b) { return a == b || std::abs(a - b) <= 1e-12 * std::max(std::abs(a), std::abs(b)); }

// The floor is only a floor if it flies the craft as the host does.
bool FloorFliesAsTheHost(int craft)
{
    Fleet fleet(MERVEX_MODULE_PATH, craft);
    bench::FloorFleet floor(fleet.host.all_craft());
    for (int i = 0; i < 100; ++i) {
        fleet.host.step(step_length);
        floor.step(step_length);
    }
    const std::vector<sim::Craft> craft_flown = fleet.host.all_craft();
    for (size_t i = 0; i < craft_flown.size(); ++i) {
        const sim::Craft r = craft_flown[i];
        const sim::BodyState& a = r.body();
        const sim::BodyState& b = floor.body(i);
        const double host_values[] = {a.pos.x, a.pos.y, a.pos.z, a.vel.x, a.vel.y, a.vel.z, a.q[0], a.q[1],
                                      a.q[2], a.q[3], a.omega.x, a.omega.y, a.omega.z, r.propellant_mass()};
        double floor_tanks = 0;
        for (double m : floor.tank_masses(i)) floor_tanks += m;
        const double floor_values[] = {b.pos.x, b.pos.y, b.pos.z, b.vel.x, b.vel.y, b.vel.z, b.q[0], b.q[1],
                                       b.q[2], b.q[3], b.omega.x, b.omega.y, b.omega.z, floor_tanks};
        for (size_t k = 0; k < std::size(host_values); ++k)
            if (!Close(host_values[k], floor_values[k])) return false;
    }
    return true;
}

void StepFloor(benchmark::State& state)
{
    const int craft = int(state.range(0));
    if (!FloorFliesAsTheHost(craft)) {
        state.SkipWithError("the floor does not fly the craft as the host does");
        return;
    }
    Fleet fleet(MERVEX_MODULE_PATH, craft);
    bench::FloorFleet floor(fleet.host.all_craft());
    AllocationCount allocations;
    for (auto _ : state) {
        floor.step(step_length);
        benchmark::DoNotOptimize(floor.body(0));
    }
    allocations.report(state);
    state.SetItemsProcessed(state.iterations() * craft);
}

void StepHost(benchmark::State& state, const char* module_path)
{
    const int craft = int(state.range(0));
    Fleet fleet(module_path, craft);
    AllocationCount allocations;
    for (auto _ : state) fleet.host.step(step_length);
    allocations.report(state);
    state.SetItemsProcessed(state.iterations() * craft);
}

std::string ScenarioOf(int craft)
{
    std::string text = "BEGIN_SCENARIO\n  TIME 12.5\nEND_SCENARIO\n";
    for (int i = 0; i < craft; ++i) {
        const std::string x = std::to_string(10 * i);
        text += "BEGIN_VESSEL Mervex-" + std::to_string(i + 1) + ":Mervex\n  POS " + x +
                " 0 0\n  VEL 0 0.5 0\n  ATT 1 0 0 0\n  AROT 0 0 0.01\n  PROPELLANT 0 420\n  ARRAYS " +
                (i % 2 ? "0" : "1") + "\n  PAYLOAD_MASS 250.0000\n" + (i % 3 ? "" : "  NAVLIGHTS\n") + "END_VESSEL\n";
    }
    return text;
}

// Each iteration loads the whole scenario into an empty host; the heap the
// craft hold afterwards (host records and module objects) is reported per craft.
void LoadScenario(benchmark::State& state)
{
    const int craft = int(state.range(0));
    const sim::Scenario scenario = sim::parse_scenario(ScenarioOf(craft), "generated");
    sim::Host host;
    sim::Module& module = host.load_module(MERVEX_MODULE_PATH);
    double held = 0;
    AllocationCount allocations;
    for (auto _ : state) {
        const size_t before = bench::heap_count().live_bytes;
        host.load_scenario(scenario, module);
        held = double(bench::heap_count().live_bytes - before);
        state.PauseTiming();
        while (!host.all_craft().empty()) host.destroy_craft(host.all_craft().back());
        state.ResumeTiming();
    }
    allocations.report(state);
    state.counters["heap/craft"] = benchmark::Counter(held / craft, benchmark::Counter::kDefaults,
                                                      benchmark::Counter::kIs1024);
    state.SetItemsProcessed(state.iterations() * craft);
}

void SaveScenario(benchmark::State& state)
{
    const int craft = int(state.range(0));
    sim::Host host;
    host.load_scenario(sim::parse_scenario(ScenarioOf(craft), "generated"), host.load_module(MERVEX_MODULE_PATH));
    AllocationCount allocations;
    for (auto _ : state) benchmark::DoNotOptimize(host.scenario_text());
    allocations.report(state);
    state.SetItemsProcessed(state.iterations() * craft);
}

// The console table, then per craft count the ratios of CPU time per step.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                auto [at, fresh] = cpu_.emplace(r.benchmark_name(), r.GetAdjustedCPUTime());
                if (!fresh) at->second = std::min(at->second, r.GetAdjustedCPUTime());
            }
        ConsoleReporter::ReportRuns(runs);
    }

    void print_ratios() const
    {
        std::printf("\nLeast CPU time per step over the repetitions, as ratios (targets: host/floor <= 2,\n"
                    "Mervex/null-module <= 1.5, per craft-step at 10000 craft / at 100 craft <= 1.3)\n");
        std::printf("%8s %24s %14s %20s\n", "craft", "host(null module)/floor", "Mervex/floor", "Mervex/null-module");
        for (const char* craft : {"1", "100", "10000"}) {
            const double floor = cpu("floor", craft), null = cpu("NullVessel", craft), mervex = cpu("Mervex", craft);
            std::printf("%8s %24s %14s %20s\n", craft, Ratio(null, floor).c_str(), Ratio(mervex, floor).c_str(),
                        Ratio(mervex, null).c_str());
        }
        std::printf("%8s", "linear");
        for (const char* what : {"floor", "NullVessel", "Mervex"})
            std::printf("   %s %s", what, Ratio(cpu(what, "10000") / 10000, cpu(what, "100") / 100).c_str());
        std::printf("   (per craft-step, 10000 craft / 100 craft)\n");
    }

private:
    static std::string Ratio(double a, double b)
    {
        if (!(a > 0) || !(b > 0)) return "-";
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2f", a / b);
        return buf;
    }
    double cpu(const std::string& what, const std::string& craft) const
    {
        auto it = cpu_.find("Step/" + what + "/craft:" + craft);
        return it == cpu_.end() ? 0 : it->second;
    }
    // The least CPU time per iteration over the repetitions of each case:
    // other work on the machine only ever adds time.
    std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv)
{
    for (auto* b : {benchmark::RegisterBenchmark("Step/floor", StepFloor),
                    benchmark::RegisterBenchmark("Step/NullVessel", StepHost, NULL_VESSEL_MODULE_PATH),
                    benchmark::RegisterBenchmark("Step/Mervex", StepHost, MERVEX_MODULE_PATH)})
        b->ArgName("craft")->Arg(1)->Arg(100)->Arg(10000);
    for (auto* b : {benchmark::RegisterBenchmark("Scenario/load", LoadScenario),
                    benchmark::RegisterBenchmark("Scenario/save", SaveScenario)})
        b->ArgName("craft")->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_ratios();
    benchmark::Shutdown();
    return 0;
}
