// Checks of many craft of one class: their definitions, and their coming
// and going while a dialog is open.
#include <set>
#include <string>

#include "checks.h"
#include "files/program_folders.h"
#include "driver.h"
#include "guard.h"
#include "files/mesh_library.h"
#include "session.h"
#include "telemetry.h"

namespace validate {

void check_craft_churn(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    if (s.probe.dialog_openers.empty()) f.note("no key opened a dialog; craft came and went without one");
    sim::Host& host = s.host;
    Driver driver = s.driver();

    // A dialog left holding a destroyed craft is a module fault the host
    // reports as the craft goes.
    const int operations = 60 * ctx.level;
    const size_t most_craft = 2 + ctx.level;
    for (int op = 1; op <= operations && f.passed(); ++op) {
        attempt(f, "operation " + std::to_string(op), [&] {
            const std::uint64_t roll = s.random.below(10);
            const size_t count = driver.craft().size();
            if (dialog_windows(host, *s.module).empty() && s.random.chance(0.8)) {
                driver.open_a_dialog();
            } else if (roll < 3 && count < most_craft) {
                driver.add_craft();
            } else if (roll < 6 && count > 0) {
                host.destroy_craft(driver.random_craft());
            } else {
                driver.random_action();
            }
        });
    }
    if (f.passed()) f.note(std::to_string(operations) + " operations, up to " + std::to_string(most_craft) + " craft");
}

void check_dialog_owner_gone(const CheckContext& ctx, Findings& f)
{
    Session s(ctx);
    if (!s.open(f)) return;
    if (s.probe.dialog_openers.empty()) {
        f.note("no key opened a dialog");
        return;
    }
    sim::Host& host = s.host;
    Driver driver = s.driver();
    // For each key that opens a dialog: the dialog opened for a second
    // craft, which then goes; and opened for one craft, the key pressed
    // again on another while the first holds it, and the first going. Each
    // time the buttons of what stays open are clicked. The host reports a
    // dialog left holding a craft that is gone.
    for (const KeyCombo& key : s.probe.dialog_openers) {
        sim::Craft first, second, third;
        if (!attempt(f, "making three craft", [&] {
                first = driver.add_craft(), second = driver.add_craft(), third = driver.add_craft();
            }))
            return;
        const std::string pressing = " pressing " + key.text();
        // Named now: a craft's handle says nothing once the craft is gone.
        const std::string first_name = first.name(), second_name = second.name(), third_name = third.name();
        if (!attempt(f, second_name + ", the second craft," + pressing + ", then destroyed",
                     [&] {
                         driver.press(second, key);
                         host.destroy_craft(second);
                     }) ||
            !attempt(f, "clicking every button of the dialogs left open once " + second_name + " was destroyed",
                     [&] { driver.click_every_button(); }) ||
            !attempt(f, first_name + " and then " + third_name + pressing + ", then " + first_name + " destroyed",
                     [&] {
                         driver.press(first, key);
                         driver.press(third, key);
                         host.destroy_craft(first);
                     }) ||
            !attempt(f, "clicking every button of the dialogs left open once " + first_name + " was destroyed",
                     [&] {
                         driver.click_every_button();
                         host.destroy_craft(third);
                     }))
            return;
    }
    std::string keys;
    for (const KeyCombo& key : s.probe.dialog_openers) keys += (keys.empty() ? "" : ", ") + key.text();
    f.note("each key that opens a dialog (" + keys +
           ") pressed on a second craft and on a craft while another held the dialog");
}

namespace {
std::string Listed(const std::vector<UINT>& groups)
{
    std::string out = "{";
    for (size_t i = 0; i < groups.size() && i < 8; ++i) out += (i ? ", " : "") + std::to_string(groups[i]);
    return out + (groups.size() > 8 ? ", ...}" : "}");
}

// " of animation N" for the animation that holds component `c`, if one does.
std::string Of(const std::vector<sim::AnimationView>& animations, size_t c)
{
    for (size_t a = 0; a < animations.size(); ++a)
        for (const int held : animations[a].components)
            if (held == static_cast<int>(c)) return " of animation " + std::to_string(a);
    return "";
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
    // did not last. Its groups must be groups of the mesh, when the mesh is
    // in the host's mesh folder.
    const std::string mesh_folder = app::program_folders(app::executable_file()).meshes.string();
    app::MeshLibrary meshes(mesh_folder);
    int compared = 0;
    std::set<std::string> unread;  // meshes named but not in the folder, or unreadable
    for (const sim::Craft r : host.all_craft()) {
        const std::vector<sim::ComponentView> components = r.components();
        const std::vector<sim::AnimationView> animations = r.animations();
        for (size_t c = 0; c < components.size() && f.passed(); ++c) {
            const MGROUP_TRANSFORM* t = components[c].transform;
            if (!t || !t->grp) continue;
            const std::string component = r.name() + ": animation component " + std::to_string(c) + Of(animations, c) +
                                          ", added by AddAnimationComponent" +
                                          (components[c].added_in.empty() ? "" : " in " + components[c].added_in);
            const std::vector<UINT> now(t->grp, t->grp + t->ngrp);
            if (now != components[c].groups_as_given) {
                f.fail(component + ": its group list was " + Listed(components[c].groups_as_given) +
                       " when handed over and is now " + Listed(now) +
                       ": the host reads it as long as the craft lives, so it must outlive the "
                       "callback that made it (a local array of " +
                       (components[c].added_in.empty() ? std::string("the callback") : components[c].added_in) + "?)");
                continue;
            }
            const sim::Mesh* mesh = t->mesh < r.meshes().size() ? meshes.get(r.meshes()[t->mesh].name) : nullptr;
            if (!mesh) {
                if (t->mesh < r.meshes().size()) unread.insert(r.meshes()[t->mesh].name);
                continue;
            }
            ++compared;
            for (const UINT g : now)
                if (g >= mesh->groups.size()) {
                    f.fail(component + ": turns group " + std::to_string(g) + " of mesh " + std::to_string(t->mesh) +
                           " (\"" + r.meshes()[t->mesh].name + "\"), which has " +
                           std::to_string(mesh->groups.size()) + " groups, numbered from 0");
                    break;
                }
        }
    }
    if (f.passed())
        f.note(std::to_string(count) + " craft, " + std::to_string(first.size()) + " calls each; " +
               std::to_string(compared) + " group lists compared with their meshes");
    for (const std::string& name : unread)
        f.note("mesh \"" + name + "\" is not in the host's mesh folder (" + mesh_folder +
               ") or cannot be read: the groups its animations turn were not compared with it");
}

}  // namespace validate
