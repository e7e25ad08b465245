// Timelines and --at actions as a person might write them, with any key
// names: each gives actions or a readable one-line refusal.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "keys/key_combo.h"
#include "util/text_lines.h"
#include "options/timeline.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        for (const app::Action& a : app::parse_timeline(text, "fuzz.timeline")) app::describe(a);
    } catch (const app::TimelineError& e) {
        fuzz::check_message(e.what());
    }
    for (const std::string& line : sim::split_lines(text)) {
        try {
            app::describe(app::parse_action(line, "--at"));
        } catch (const app::TimelineError& e) {
            fuzz::check_message(e.what());
        }
        try {
            app::parse_key(line);
        } catch (const std::invalid_argument& e) {
            fuzz::check_message(e.what());
        }
    }
    return 0;
}
