// How long a module's callbacks take, against a budget that tightens with
// the level. Time is the host thread's CPU time, so a busy machine does not
// count against the module; the host's own small share is included.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "build_kind.h"
#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "session.h"
#include "sim/scenario_file.h"

namespace validate {

namespace {
double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

class Timings {
public:
    template <typename Call>
    void time(const std::string& what, Call&& call)
    {
        const double start = CpuSeconds();
        call();
        samples_[what].push_back(CpuSeconds() - start);
    }
    const std::map<std::string, std::vector<double>>& samples() const { return samples_; }

private:
    std::map<std::string, std::vector<double>> samples_;
};

std::string Ms(double seconds)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f ms", seconds * 1e3);
    return buf;
}
}  // namespace


double median_budget(int level) { return slowdown * 2e-3 / level; }
double max_budget(int level) { return slowdown * 50e-3 / level; }

void check_callback_timing(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    sim::Host& host = s.host;
    Driver driver = s.driver();
    Timings timings;
    const int rounds = 20 * ctx.level;
    attempt(f, "timing", [&] {
        for (int round = 0; round < rounds; ++round) {
            // One craft at a time, so each time is that of one craft's callbacks.
            sim::Craft craft;
            timings.time("ovcInit + clbkDefineClass + clbkPostCreation", [&] { craft = driver.add_craft(); });
            for (int i = 0; i < 5; ++i) {
                timings.time("clbkConsumeDirectKey + clbkPreStep + clbkAfterStep + clbkAnimate", [&] { host.step(0.1); });
                const KeyCombo key = s.probe.consumed.empty() ? KeyCombo{static_cast<DWORD>(s.random.below(256)), 0}
                                                            : s.random.pick(s.probe.consumed);
                sim::KeyboardState state = sim::keyboard_state(key.modifiers);
                state[key.key] = static_cast<char>(0x80);
                timings.time("clbkKeyPress", [&] { host.key_event(craft, key.key, true, state); });
                const std::vector<HWND> open = dialog_windows(host, *s.module);
                if (!open.empty()) {
                    const HWND hwnd = s.random.pick(open);
                    timings.time("dialog procedure", [&] { host.dialogs().send(hwnd, WM_TIMER, 1, 0); });
                }
            }
            std::string text;
            timings.time("clbkWriteScenario", [&] { text = host.scenario_text(); });
            timings.time("ovcExit", [&] { host.destroy_craft(craft); });
            const sim::Scenario saved = sim::parse_scenario(text, "timing");
            std::vector<sim::Craft> loaded;
            timings.time("ovcInit + clbkDefineClass + clbkReadScenario + clbkPostCreation",
                         [&] { loaded = host.load_scenario(saved, *s.module); });
            for (const sim::Craft r : loaded) host.destroy_craft(r);
        }
    });
    for (const auto& [what, taken] : timings.samples()) {
        std::vector<double> samples = taken;
        std::sort(samples.begin(), samples.end());
        const double median = samples[samples.size() / 2], most = samples.back();
        const std::string line = what + ": median " + Ms(median) + ", max " + Ms(most) + " over " +
                                 std::to_string(samples.size());
        if (median > median_budget(ctx.level)) f.fail(line + "; the median may be " + Ms(median_budget(ctx.level)));
        else if (most > max_budget(ctx.level)) f.fail(line + "; the maximum may be " + Ms(max_budget(ctx.level)));
        else f.note(line);
    }
}

}  // namespace validate
