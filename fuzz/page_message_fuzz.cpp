// What a live page sends, as a stranger might send it: each message is a
// well-formed action or a readable one-line refusal, and an action's
// timeline entry reads back as the same action in a batch run's timeline.
// The same bytes as a request's target and headers never pass the access check.
#include <cstddef>
#include <cstdint>
#include <string>

#include "options/timeline.h"
#include "fuzz_checks.h"
#include "serve/server/access_check.h"
#include "serve/session/page_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const app::PageMessage m = app::parse_page_message(text);
        const std::string entry = app::timeline_entry(m);
        if (!entry.empty()) {
            const app::Action a = app::parse_action("1.5:" + entry, "fuzz");
            if (a.craft != m.craft && m.action != app::PageAction::click) __builtin_trap();
        }
    } catch (const app::PageMessageError& e) {
        fuzz::check_message(e.what());
    }
    const app::AccessCheck access(app::make_token(), 8080);
    if (access.has_token(text, text) ||
        access.origin_allowed(text, true) != (text == "http://127.0.0.1:8080" || text == "http://localhost:8080"))
        __builtin_trap();
    return 0;
}
