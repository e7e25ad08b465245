// Scenario text of any kind, read by the stand-in host and the loaded
// module, flown a step and saved: whatever loads must save a file that loads
// again, every refusal is a readable message, and nothing may overrun or leak.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_checks.h"
#include "fuzz_host.h"
#include "util/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sim::Host& host = fuzz::host();
    sim::Module& module = *host.modules().front();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        host.load_scenario(sim::parse_scenario(text, "fuzz"), module);
    } catch (const sim::ScenarioError& e) {
        for (const std::string& problem : sim::split_lines(e.what())) fuzz::check_message(problem);
        fuzz::reset(host);
        return 0;
    }
    try {
        host.step(0.5);
    } catch (const sim::StateError& e) {
        fuzz::check_message(e.what());  // the step was taken back
    }
    std::string saved;
    try {
        saved = host.scenario_text();
    } catch (const std::invalid_argument& e) {
        fuzz::check_message(e.what());  // a name the file cannot hold is refused, not written
        fuzz::reset(host);
        return 0;
    }
    fuzz::reset(host);
    try {
        host.load_scenario(sim::parse_scenario(saved, "saved"), module);
    } catch (const sim::ScenarioError& e) {
        std::fprintf(stderr, "a save does not load again: %s\n--- the save:\n%s", e.what(), saved.c_str());
        std::abort();
    }
    fuzz::reset(host);
    return 0;
}
