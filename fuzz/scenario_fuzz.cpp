// Scenario text of any kind, read by the stand-in host and the loaded
// module, flown a step and saved: whatever loads must save in a form that
// reads back, and nothing may overrun or leak.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sim/host.h"

namespace {
sim::Host& FuzzHost()
{
    static std::unique_ptr<sim::Host> host = [] {
        auto h = std::make_unique<sim::Host>();
        h->load_module(MERVEX_MODULE_PATH);
        return h;
    }();
    return *host;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sim::Host& host = FuzzHost();
    sim::Module& module = *host.modules().front();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        host.load_scenario(sim::parse_scenario(text, "fuzz"), module);
    } catch (const sim::ScenarioError&) {
        return 0;
    }
    host.step(0.5);
    try {
        const std::string saved = host.scenario_text();
        sim::parse_scenario(saved, "saved");
    } catch (const std::invalid_argument&) {
        // A name the file format cannot hold is refused, not written.
    }
    while (!host.vessels().empty()) host.destroy_vessel(*host.vessels().back());
    host.dialogs().close_all();
    return 0;
}
