// Hostile input to every callback that takes input: scenario blocks, key
// events, dialog messages. The module must take all of it without fault.
#include <cstdio>
#include <string>
#include <utility>

#include "checks.h"
#include "keys/key_combo.h"
#include "driver.h"
#include "guard.h"
#include "session.h"
#include "sim/scenario_file.h"

namespace validate {

namespace {
// Printable and short, for a message naming a line.
std::string Shown(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size() && out.size() < 48; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "?";
    }
    if (text.size() > 48) out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

std::string RandomBytes(Random& random, size_t n, bool printable)
{
    // A random pattern of up to 256 bytes, repeated: long lines cost no more to make than short ones.
    std::string pattern;
    for (size_t i = 0; i < n && i < 256; ++i) {
        // Never a NUL or a line break: no file line holds one.
        char c = printable ? static_cast<char>(0x20 + random.below(0x5F)) : static_cast<char>(1 + random.below(255));
        if (c == '\n' || c == '\r') c = ' ';
        pattern += c;
    }
    std::string out;
    out.reserve(n);
    while (out.size() < n) out += pattern.substr(0, n - out.size());
    return out;
}

// Values a field can hold that a reader must survive: numbers at the
// extremes, which a careless reader overruns or divides by, and text that is
// no number at all.
const char* const extreme_values[] = {
    "0",          "-0",          "1",           "-1",         "0.5",        "1e308",      "-1e308",
    "1e-320",     "2147483647",  "-2147483648", "4294967295", "4294967296", "9223372036854775807",
    "-9223372036854775808", "18446744073709551616", "99999999999999999999999999999999999999", "1e300",
    "-1e-300",    "65536",       "256",         "255",        "1000000"};
const char* const malformed_values[] = {"",   "nan", "-nan", "inf",   "-inf", "0x7fffffff", "1e",  "--1", "1.2.3",
                                        "abc", "%s%s%n%n", "\t", "+", ".", "1,5", "1 2", "\xff\xfe"};

const char* OddValue(Random& random)
{
    return random.chance(0.7) ? extreme_values[random.below(std::size(extreme_values))]
                              : malformed_values[random.below(std::size(malformed_values))];
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> out;
    size_t at = 0;
    while (at <= line.size()) {
        const size_t end = line.find(' ', at);
        out.push_back(line.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return out;
}

// One of the module's own lines with one field replaced, removed or added
// to: well formed but for that field, so it reaches the module's logic.
std::string MutatedLine(Random& random, const std::string& line, int level)
{
    std::vector<std::string> fields = Fields(line);
    const size_t at = fields.size() > 1 && random.chance(0.9) ? 1 + random.below(fields.size() - 1) : 0;
    const std::uint64_t how = random.below(10);
    if (how < 7) {
        fields[at] = OddValue(random);
    } else if (how == 7 && fields.size() > 1) {
        fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (how == 8) {
        fields.push_back(OddValue(random));
    } else {
        fields[at] = std::string(1 + random.below(size_t(16) << level), static_cast<char>('0' + random.below(10)));
    }
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? " " : "") + fields[i];
    return out;
}

std::string HostileLine(Random& random, const std::vector<std::string>& keys, int level)
{
    // Now and then very long: up to 128 bytes at level 1, 64 KiB at level 10.
    const size_t longest = random.chance(0.2) ? size_t(1) << (6 + level) : 100;
    const std::string key = keys.empty() ? std::string("X") : random.pick(keys);
    switch (random.below(7)) {
    case 0: return key + " " + OddValue(random);
    case 1: return key.substr(0, random.below(key.size() + 1));
    case 2: return key + " " + std::string(random.below(longest), static_cast<char>('0' + random.below(10)));
    case 3: return RandomBytes(random, 1 + random.below(200), false);
    case 4: return RandomBytes(random, 1 + random.below(longest), true);
    case 5: {
        std::string lower = key;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower + RandomBytes(random, random.below(20), true);
    }
    default: return key + RandomBytes(random, random.below(longest), false);
    }
}

// A block of a craft: mostly the module's own save with one line (at higher
// levels a few) changed, else lines of random make.
std::vector<std::string> HostileBlock(Random& random, const ModuleProbe& probe, int level, bool& from_save)
{
    std::vector<std::string> lines;
    from_save = !probe.saved_lines.empty() && random.chance(0.7);
    if (from_save) {
        lines = probe.saved_lines;
        const int changed = random.chance(0.7) ? 1 : 1 + static_cast<int>(random.below(1 + level / 3));
        for (int i = 0; i < changed; ++i) {
            std::string& line = lines[random.below(lines.size())];
            line = MutatedLine(random, line, level);
        }
        return lines;
    }
    const int count = 1 + static_cast<int>(random.below(4 + level));
    for (int i = 0; i < count; ++i) lines.push_back(HostileLine(random, probe.scenario_keys, level));
    return lines;
}

// The block as a scenario file holds it, to keep beside the reports.
std::string BlockText(const sim::ScenarioVessel& craft)
{
    std::string out = "BEGIN_VESSEL " + craft.name + ":" + craft.class_name + "\n";
    for (const sim::ScenarioLine& line : craft.lines) out += "  " + line.text + "\n";
    return out + "END_VESSEL\n";
}

// The modifier keys, left and right, as a keyboard state holds them.
const std::pair<unsigned, const char*> modifier_keys[] = {{0x2A, "LShift"}, {0x36, "RShift"}, {0x1D, "LCtrl"},
                                                          {0x9D, "RCtrl"},  {0x38, "LAlt"},   {0xB8, "RAlt"}};

struct Message {
    UINT id;
    const char* name;
};
// Messages whose parameters hold no pointers, so any value is one Windows could send.
const Message messages[] = {
    {0x0003, "WM_MOVE"},      {0x0005, "WM_SIZE"},        {0x0006, "WM_ACTIVATE"},    {0x0010, "WM_CLOSE"},
    {0x0100, "WM_KEYDOWN"},   {0x0101, "WM_KEYUP"},       {0x0102, "WM_CHAR"},        {WM_COMMAND, "WM_COMMAND"},
    {WM_TIMER, "WM_TIMER"},   {0x0200, "WM_MOUSEMOVE"},   {0x0201, "WM_LBUTTONDOWN"}, {0x0202, "WM_LBUTTONUP"},
    {0x0204, "WM_RBUTTONDOWN"},
};
}  // namespace

void check_hostile_scenario(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    sim::Host& host = s.host;

    const int blocks = hostile_blocks(ctx.level);
    int accepted = 0, tried = 0, from_save = 0, accepted_from_save = 0;
    for (int b = 1; b <= blocks && f.passed(); ++b) {
        if (!runs_trial(ctx, b)) continue;
        Random random(trial_seed(ctx.seed, b));
        sim::Scenario scenario;
        scenario.file = "hostile";
        sim::ScenarioVessel craft;
        craft.name = "Hostile-" + std::to_string(b);
        craft.class_name = s.module->class_name();
        bool saved = false;
        int line_no = 2;
        for (std::string& line : HostileBlock(random, s.probe, ctx.level, saved)) craft.lines.push_back({line, line_no++});
        scenario.vessels.push_back(craft);
        ++tried;
        from_save += saved;
        const std::string what = "block " + std::to_string(b) + " (" + std::to_string(craft.lines.size()) +
                                 " lines, the first \"" + Shown(craft.lines[0].text) + "\")";
        doing(what, BlockText(craft), b);
        attempt(f, what, [&] {
            std::vector<sim::Craft> loaded;
            try {
                loaded = host.load_scenario(scenario, *s.module);
            } catch (const sim::ScenarioError&) {
                return;  // the host turned the block down: a defined outcome
            }
            ++accepted;
            accepted_from_save += saved;
            try {
                for (int i = 0; i < 3; ++i) host.step(0.1);
            } catch (const sim::StateError&) {
                // A state read from the block that cannot be flown: the host took the step back.
            }
            host.scenario_text();
            for (const sim::Craft r : loaded) host.destroy_craft(r);
        });
    }
    if (f.passed())
        f.note(std::to_string(tried) + " blocks, " + std::to_string(accepted) + " accepted (" +
               std::to_string(accepted_from_save) + " of the " + std::to_string(from_save) +
               " made from the module's own save with a field changed); the rest turned down by the host");
}

void check_hostile_keys(const CheckContext& ctx, Findings& f)
{
    // Random keys, not the module's own: no probe.
    Session s(ctx);
    if (!s.open(f, false)) return;
    sim::Host& host = s.host;
    Driver driver = s.driver();
    if (!attempt(f, "creating craft", [&] {
            for (int i = 0; i < 1 + ctx.level / 3; ++i) driver.add_craft();
        }))
        return;

    const int events = 300 * ctx.level;
    for (int e = 1; e <= events && f.passed(); ++e) {
        const sim::Craft r = driver.random_craft();
        // Mostly codes a keyboard sends, else any at all.
        const DWORD key = static_cast<DWORD>(s.random.chance(0.8) ? s.random.below(256) : s.random.bits() >> 32);
        const bool down = s.random.chance(0.5);
        sim::KeyboardState state;
        const bool sparse = s.random.chance(0.5);
        for (char& c : state) c = static_cast<char>(sparse ? (s.random.chance(0.05) ? 0x80 : 0) : s.random.below(256));
        const std::string code = app::key_name(key);
        std::string held;
        for (const auto& [at, name] : modifier_keys)
            if (static_cast<unsigned char>(state[at]) & 0x80) held += std::string(name) + "+";
        attempt(f,
                "key event " + std::to_string(e) + " on " + r.name() + " (key " + held + code +
                    (down ? " down, " : " up, ") + (sparse ? "few" : "random") + " other keys held)",
                [&] {
                    host.key_event(r, key, down, state);
                    if (e % 10 == 0) host.step(0.1);
                });
    }
    if (f.passed()) f.note(std::to_string(events) + " key events");
}

void check_hostile_dialog(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    sim::Host& host = s.host;
    if (s.probe.dialog_openers.empty()) {
        f.note("no key opened a dialog: nothing to send messages to");
        return;
    }
    Driver driver = s.driver();
    if (!attempt(f, "creating craft", [&] { driver.add_craft(), driver.add_craft(); })) return;

    const int sent = 200 * ctx.level;
    for (int m = 1; m <= sent && f.passed(); ++m) {
        const Message& msg = messages[s.random.below(std::size(messages))];
        std::string what = "message " + std::to_string(m) + " (" + msg.name + ")";
        attempt(f, what, [&] {
            std::vector<HWND> open = dialog_windows(host, *s.module);
            if (open.empty()) {
                driver.open_a_dialog();
                open = dialog_windows(host, *s.module);
                if (open.empty()) return;
            }
            const HWND hwnd = s.random.pick(open);
            WPARAM wparam = static_cast<WPARAM>(s.random.bits() & 0xFFFFFFFF);
            LPARAM lparam = static_cast<LPARAM>(s.random.bits() & 0x7FFFFFFF);
            if (msg.id == WM_COMMAND) {
                const sim::Dialog* d = host.dialogs().dialog(hwnd);
                int id = static_cast<int>(s.random.below(0x10000));
                HWND control = nullptr;
                if (!d->controls.empty() && s.random.chance(0.6)) {
                    const sim::Control& c = d->controls[s.random.below(d->controls.size())];
                    id = c.id;
                    control = c.hwnd;
                } else if (s.random.chance(0.3)) {
                    id = static_cast<int>(s.random.below(8));
                }
                const WPARAM code = s.random.chance(0.5) ? 0 : s.random.below(0x10000);
                wparam = (code << 16) | static_cast<WORD>(id);
                lparam = reinterpret_cast<LPARAM>(control);
            }
            // Named in full, for the failure as for a crash, before it is sent.
            char params[96];
            std::snprintf(params, sizeof params, " wParam 0x%llX lParam 0x%llX to dialog %d",
                          static_cast<unsigned long long>(wparam), static_cast<unsigned long long>(lparam),
                          host.dialogs().dialog(hwnd)->resid);
            what += params;
            doing(what);
            host.dialogs().send(hwnd, msg.id, wparam, lparam);
            if (m % 10 == 0) host.step(0.1);
        });
    }
    if (f.passed()) f.note(std::to_string(sent) + " messages");
}

}  // namespace validate
