// The messages a live page sends over its WebSocket: small JSON objects such
// as {"type":"key","craft":"Mervex-1","code":37,"modifiers":[42]}. Whatever
// arrives is untrusted; anything but a well-formed message of a known type
// with fields in range is refused with a reason, and changes nothing.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Longer messages are refused unread.
constexpr size_t page_message_max_bytes = 1024;

struct PageMessageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class PageAction { key, click, thrust, pause, run, step, warp, save, quit, focus };

struct PageMessage {
    PageAction action = PageAction::pause;
    std::string craft;                // key, thrust, focus: a craft's name
    unsigned code = 0;                // key: 0..255
    std::vector<unsigned> modifiers;  // key: the codes of the held Shift, Ctrl and Alt keys
    std::string button;               // click: a control id in decimal, or "close"
    std::string group;                // thrust: a thruster group's name or number
    double level = 0;                 // thrust: 0..1
    double warp = 1;                  // warp: 0.1, 1, 10 or 100
};

// Throws PageMessageError.
PageMessage parse_page_message(std::string_view text);

// The timeline entry, without its time, of a key, click, thrust or focus
// ("key:LShift+0x26@Mervex-1", "click:1003", "thrust:main=0.5@Tank-1",
// "focus:Tank-1"); empty for the other actions.
std::string timeline_entry(const PageMessage& message);

}  // namespace app
