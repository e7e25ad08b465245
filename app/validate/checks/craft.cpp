// Checks of many craft of one class: their definitions, and their coming
// and going while a dialog is open.
#include <set>
#include <string>

#include "checks.h"
#include "driver.h"
#include "guard.h"
#include "session.h"
#include "telemetry.h"

namespace validate {

namespace {
// Addresses by which a module may know its craft object.
std::set<const void*> AddressesOf(sim::Craft r)
{
    return {r.object(), r.callbacks(), dynamic_cast<const void*>(r.callbacks())};
}
}  // namespace

void check_craft_churn(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    if (s.probe.dialog_openers.empty()) f.note("no key opened a dialog; craft came and went without one");
    sim::Host& host = s.host;
    Driver driver = s.driver();

    const int operations = 60 * ctx.level;
    const size_t most_craft = 2 + ctx.level;
    std::set<const void*> destroyed;
    for (int op = 1; op <= operations && f.passed(); ++op) {
        const std::string what = "operation " + std::to_string(op);
        attempt(f, what, [&] {
            const std::uint64_t roll = s.random.below(10);
            const size_t count = driver.craft().size();
            if (dialog_windows(host, *s.module).empty() && s.random.chance(0.8)) {
                driver.open_a_dialog();
            } else if (roll < 3 && count < most_craft) {
                driver.add_craft();
            } else if (roll < 6 && count > 0) {
                const sim::Craft r = driver.random_craft();
                const std::set<const void*> gone = AddressesOf(r);
                host.destroy_craft(r);
                destroyed.insert(gone.begin(), gone.end());
            } else {
                driver.random_action();
            }
        });
        std::set<const void*> live;
        for (const sim::Craft r : driver.craft())
            for (const void* a : AddressesOf(r)) live.insert(a);
        for (HWND hwnd : dialog_windows(host, *s.module)) {
            const void* context = host.dialogs().dialog(hwnd)->context;
            if (!destroyed.count(context) || live.count(context)) continue;
            f.fail(what + ": a dialog (resource " + std::to_string(host.dialogs().dialog(hwnd)->resid) +
                   ") stays open with a destroyed craft as its context: its commands would reach freed memory");
            host.dialogs().close(hwnd);
        }
    }
    if (f.passed()) f.note(std::to_string(operations) + " operations, up to " + std::to_string(most_craft) + " craft");
}

namespace {
std::string Listed(const std::vector<UINT>& groups)
{
    std::string out = "{";
    for (size_t i = 0; i < groups.size() && i < 8; ++i) out += (i ? ", " : "") + std::to_string(groups[i]);
    return out + (groups.size() > 8 ? ", ...}" : "}");
}
}  // namespace

void check_class_definition(const CheckContext& ctx, Findings& f)
{
    Session s(ctx, sim::CallLogging::on);
    // The module's very first craft is made before the probe makes its own,
    // so that a definition that differs for the first is compared too.
    if (!s.open(f, false)) return;
    sim::Host& host = s.host;
    Driver driver = s.driver();

    // Craft come between the others' keys, clicks and steps, so that a
    // definition reading anything but its own class shows.
    const int count = 3 + ctx.level;
    std::vector<std::string> first;
    for (int i = 1; i <= count && f.passed(); ++i) {
        std::vector<std::string> calls;
        attempt(f, "craft " + std::to_string(i), [&] {
            if (i == 2) s.probe = probe_module(host, *s.module);
            if (i > 1)
                for (int n = 0; n < 10; ++n) driver.random_action();
            const size_t from = host.log().calls().size();
            driver.add_craft();
            add_calls(host, from, calls);
            // The craft's own name is not part of its class.
            const std::string self = "@" + host.all_craft().back().name();
            for (std::string& c : calls) {
                const size_t at = c.find(self);
                const size_t end = at + self.size();
                if (at != std::string::npos && (end == c.size() || c[end] == ' ')) c.replace(at, self.size(), "@self");
            }
        });
        if (i == 1) {
            first = calls;
        } else if (const std::string diff = first_difference(first, calls); !diff.empty()) {
            f.fail("craft " + std::to_string(i) + " was defined differently from the module's first craft: " + diff);
        }
    }
    // The host reads a transform's group list for as long as the craft
    // lives: one that changed since it was handed over was kept where it
    // did not last.
    for (const sim::Craft r : host.all_craft()) {
        const std::vector<sim::ComponentView> components = r.components();
        for (size_t c = 0; c < components.size() && f.passed(); ++c) {
            const MGROUP_TRANSFORM* t = components[c].transform;
            if (!t || !t->grp) continue;
            const std::vector<UINT> now(t->grp, t->grp + t->ngrp);
            if (now != components[c].groups_as_given)
                f.fail(r.name() + ": the group list of animation component " + std::to_string(c) + " was " +
                       Listed(components[c].groups_as_given) + " when handed to AddAnimationComponent and is now " +
                       Listed(now) +
                       ": the host reads it as long as the craft lives, so it must outlive the "
                       "callback that made it (a local array of clbkDefineClass?)");
        }
    }
    if (f.passed()) f.note(std::to_string(count) + " craft, " + std::to_string(first.size()) + " calls each");
}

}  // namespace validate
