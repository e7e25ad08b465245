// Host steps per second with Mervex craft in flight: the module's callbacks,
// the free-space integration and the beacon read-back, all together.
#include <benchmark/benchmark.h>

#include <string>

#include "sim/host.h"
#include "sim/keyboard.h"
#include "sim/physics.h"

namespace {

// Each iteration is one host step; the item count is craft-steps.
void StepCraft(benchmark::State& state)
{
    sim::Host host;
    sim::Module& module = host.load_module(MERVEX_MODULE_PATH);
    const int craft = static_cast<int>(state.range(0));
    const bool burning = state.range(1) != 0;
    for (int i = 0; i < craft; ++i) {
        sim::VesselRecord& v = host.create_vessel(module, "Mervex-" + std::to_string(i + 1));
        host.key_press(v, sim::key::k);
        if (burning) {
            sim::set_group_level(v, THGROUP_MAIN, 0.01);  // lasts far longer than the benchmark
            sim::set_group_level(v, THGROUP_ATT_YAWLEFT, 0.001);
        }
    }
    for (auto _ : state) {
        host.step(0.01);
        host.log().clear();
    }
    state.SetItemsProcessed(state.iterations() * craft);
}
BENCHMARK(StepCraft)->ArgNames({"craft", "burning"})->Args({1, 0})->Args({1, 1})->Args({10, 1})->Args({100, 1});

// The integration alone, without the module's callbacks.
void Integrate(benchmark::State& state)
{
    sim::Host host;
    sim::Module& module = host.load_module(MERVEX_MODULE_PATH);
    sim::VesselRecord& v = host.create_vessel(module, "Mervex-1");
    sim::set_group_level(v, THGROUP_MAIN, 0.01);
    sim::set_group_level(v, THGROUP_ATT_BANKLEFT, 0.01);
    for (auto _ : state) {
        sim::integrate(v, 0.01);
        benchmark::DoNotOptimize(v.body);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Integrate);

}  // namespace

BENCHMARK_MAIN();
