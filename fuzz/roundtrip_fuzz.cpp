// Save, load, save: whatever scenario loads and flies a step must save a
// file that loads again and saves to the very same bytes. A craft may leave
// part of what it read (an open dialog) to its first step, so the reloaded
// scenario gets a step of no length before it saves: nothing moves in it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_host.h"

namespace {
// The host's save of its current craft, then an empty host; "" when a craft
// cannot be written.
std::string SaveAndClear(sim::Host& host)
{
    std::string saved;
    try {
        saved = host.scenario_text();
    } catch (const std::invalid_argument&) {
    }
    fuzz::reset(host);
    return saved;
}

[[noreturn]] void Fail(const char* what, const std::string& first, const std::string& second)
{
    std::fprintf(stderr, "%s\n--- first save:\n%s--- second:\n%s", what, first.c_str(), second.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sim::Host& host = fuzz::host();
    sim::Module& module = *host.modules().front();
    try {
        host.load_scenario(sim::parse_scenario(std::string(reinterpret_cast<const char*>(data), size), "fuzz"), module);
        host.step(0.5);
    } catch (const std::runtime_error&) {  // not loaded, or the step taken back
    }
    const std::string first = SaveAndClear(host);
    if (first.empty()) return 0;
    try {
        host.load_scenario(sim::parse_scenario(first, "first"), module);
        host.step(0);
    } catch (const std::runtime_error& e) {
        Fail(e.what(), first, "");
    }
    const std::string second = SaveAndClear(host);
    if (second != first) Fail("the reloaded scenario saves differently", first, second);
    return 0;
}
