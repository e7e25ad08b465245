// The module driven as a user and a host might: craft created and
// destroyed, keys with any keyboard state, key presses with modifiers,
// clicks and any message to its dialogs, thrust, steps and saves, in any
// order. Nothing may overrun, leak or reach a craft that is gone.
//
// The input is a program of byte-coded events, each an operation byte and
// its arguments; a missing argument byte reads as 0.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "fuzz_host.h"
#include "sim/keyboard.h"

namespace {
class Program {
public:
    Program(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t word()
    {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i) w = w << 8 | byte();
        return w;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_, at_ = 0;
};

sim::Craft Craft(sim::Host& host, Program& p)
{
    const std::vector<sim::Craft> v = host.all_craft();
    const std::uint8_t pick = p.byte();
    return v.empty() ? sim::Craft() : v[pick % v.size()];
}

HWND Dialog(sim::Host& host, Program& p)
{
    const auto& d = host.dialogs().open_dialogs();
    const std::uint8_t pick = p.byte();
    return d.empty() ? nullptr : d[pick % d.size()]->hwnd;
}

const DWORD modifier_keys[] = {OAPI_KEY_LSHIFT, OAPI_KEY_RSHIFT, OAPI_KEY_LCONTROL,
                               OAPI_KEY_RCONTROL,  OAPI_KEY_LALT,   OAPI_KEY_RALT};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    sim::Host& host = fuzz::host();
    sim::Module& module = *host.modules().front();
    Program p(data, size);
    int made = 0;
    for (int events = 0; !p.done() && events < 64; ++events) {
        switch (p.byte() % 9) {
        case 0:  // a new craft
            if (host.all_craft().size() < 4) host.create_craft(module, "Mervex-" + std::to_string(++made));
            break;
        case 1:  // a craft goes
            if (const sim::Craft c = Craft(host, p)) host.destroy_craft(c);
            break;
        case 2: {  // one key event with any keyboard state
            const sim::Craft c = Craft(host, p);
            const DWORD key = p.byte();
            const bool down = p.byte() & 1;
            sim::KeyboardState state{};
            for (int held = p.byte() % 8; held > 0; --held) {
                const std::uint8_t code = p.byte();
                state[code] = static_cast<char>(p.byte());
            }
            if (c) host.key_event(c, key, down, state);
            break;
        }
        case 3: {  // a press with modifiers held
            const sim::Craft c = Craft(host, p);
            const DWORD key = p.byte();
            std::vector<DWORD> mods;
            const std::uint8_t bits = p.byte();
            for (int i = 0; i < 6; ++i)
                if (bits >> i & 1) mods.push_back(modifier_keys[i]);
            if (c) host.key_press(c, key, mods);
            break;
        }
        case 4:  // a step of 0.05 s to 12.8 s
            try {
                host.step((p.byte() + 1) * 0.05);
            } catch (const sim::StateError& e) {
                fuzz::check_message(e.what());
            }
            break;
        case 5: {  // a click on one of a dialog's controls
            const HWND dlg = Dialog(host, p);
            const std::uint8_t pick = p.byte();
            const sim::Dialog* d = dlg ? host.dialogs().dialog(dlg) : nullptr;
            if (d && !d->controls.empty()) host.dialogs().click(dlg, d->controls[pick % d->controls.size()].id);
            break;
        }
        case 6: {  // any message to a dialog
            const HWND dlg = Dialog(host, p);
            const UINT msg = p.byte() << 8 | p.byte();
            const WPARAM wparam = p.word();
            const LPARAM lparam = static_cast<LPARAM>(p.word());
            if (dlg) host.dialogs().send(dlg, msg, wparam, lparam);
            break;
        }
        case 7:  // thrust on a group
            if (const sim::Craft c = Craft(host, p)) host.set_thrust(c, THGROUP_TYPE(p.byte() % 15), p.byte() / 255.0);
            break;
        case 8:  // a save
            try {
                sim::parse_scenario(host.scenario_text(), "saved");
            } catch (const std::invalid_argument& e) {
                fuzz::check_message(e.what());
            }
            break;
        }
    }
    fuzz::reset(host);
    return 0;
}
