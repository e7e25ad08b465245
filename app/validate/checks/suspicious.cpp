// What a module does that is suspicious but may be meant, as the host notes
// it: reported as warnings, which fail the check from warn_fail_level on.
#include <set>
#include <string>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "session.h"
#include "sim/scenario_file.h"

namespace validate {

namespace {
// The host's warnings since the last call, once each.
void TakeWarnings(sim::Host& host, std::set<std::string>& seen, Findings& f)
{
    for (const sim::ModuleFault& w : host.take_warnings())
        if (seen.insert(w.call + ": " + w.reason).second) f.warn(w.text());
}
}  // namespace

void check_suspicious_use(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    sim::Host& host = s.host;
    std::set<std::string> seen;
    size_t plain = 0;
    for (const KeyCombo& k : s.probe.consumed) plain += k.modifiers.empty();
    if (plain >= 255)
        f.warn("clbkKeyPress took every key pressed with no modifier: no key of the host's own would reach it");
    for (const KeyCombo& k : s.probe.undone_on_release)
        f.warn("clbkKeyPress acts on " + k.text() +
               " at both press and release: the key-up undid what the "
               "key-down changed, so a press leaves the craft as it was (act only when `down` is true?)");
    TakeWarnings(host, seen, f);

    Driver driver = s.driver();
    std::string save;
    const bool flown = attempt(f, "flying", [&] {
        for (int i = 0; i < 2; ++i) driver.add_craft();
        for (int i = 0; i < 20 * ctx.level; ++i) driver.random_action();
        save = host.scenario_text();
    });
    TakeWarnings(host, seen, f);
    if (!flown) return;
    attempt(f, "loading the save", [&] {
        for (const sim::Craft r : driver.craft()) host.destroy_craft(r);
        host.load_scenario(sim::parse_scenario(save, "the save"), *s.module);
        host.step(0.1);
    });
    TakeWarnings(host, seen, f);
    attempt(f, "unloading", [&] { host.unload_module(*s.module); });
    TakeWarnings(host, seen, f);
    f.note(std::to_string(20 * ctx.level) + " actions, a save loaded, the module unloaded: " +
           std::to_string(f.warnings.size()) + " kinds of suspicious use");
}

}  // namespace validate
