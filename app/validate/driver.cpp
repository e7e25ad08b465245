#include "driver.h"

#include <cstdio>

#include "check.h"
#include "sim/keyboard.h"
#include "sim/scenario_file.h"

namespace validate {

namespace {
const DWORD modifiers[] = {0, OAPI_KEY_LSHIFT, OAPI_KEY_LCONTROL, OAPI_KEY_LALT};

const THGROUP_TYPE group_types[] = {
    THGROUP_MAIN,          THGROUP_ATT_PITCHUP,  THGROUP_ATT_PITCHDOWN, THGROUP_ATT_YAWLEFT,
    THGROUP_ATT_YAWRIGHT,  THGROUP_ATT_BANKLEFT, THGROUP_ATT_BANKRIGHT, THGROUP_ATT_RIGHT,
    THGROUP_ATT_LEFT,      THGROUP_ATT_UP,       THGROUP_ATT_DOWN,      THGROUP_ATT_FORWARD,
    THGROUP_ATT_BACK,
};
}  // namespace

std::vector<const sim::Dialog*> dialogs_of(sim::Host& host, const sim::Module& module)
{
    std::vector<const sim::Dialog*> out;
    for (const auto& d : host.dialogs().open_dialogs())
        if (d->instance == module.instance()) out.push_back(d);
    return out;
}

std::vector<HWND> dialog_windows(sim::Host& host, const sim::Module& module)
{
    std::vector<HWND> out;
    for (const sim::Dialog* d : dialogs_of(host, module)) out.push_back(d->hwnd);
    return out;
}

ModuleProbe probe_module(sim::Host& host, sim::Module& module)
{
    ModuleProbe probe;
    const sim::Craft craft = host.create_craft(module, "Probe");
    for (DWORD mod : modifiers) {
        for (DWORD key = 0; key < 256; ++key) {
            if (key == mod) continue;
            const KeyCombo combo{key, mod};
            doing("probing: pressing " + combo.text() + " on Probe");
            if (host.key_press(craft, key, combo.modifiers) != 0) probe.consumed.push_back(combo);
            if (dialogs_of(host, module).empty()) continue;
            probe.dialog_openers.push_back(combo);
            // Closed as a user closes it, so the next opening key shows too.
            for (HWND hwnd : dialog_windows(host, module)) host.dialogs().click(hwnd, IDCANCEL);
            for (HWND hwnd : dialog_windows(host, module)) host.dialogs().close(hwnd);
        }
    }
    // A key acted on at press and again at release undoes itself: seen as
    // a save changed by the key-down and back as it was after the key-up.
    auto saved = [&] {
        std::string text;
        for (const sim::ScenarioText::Block& b : host.scenario_blocks().blocks)
            for (const sim::SavedLine& line : b.lines) text += line.text + "\n";
        return text;
    };
    for (const KeyCombo& combo : probe.consumed) {
        doing("probing: pressing and releasing " + combo.text() + " on Probe");
        const std::string before = saved();
        std::vector<DWORD> held = combo.modifiers;
        const sim::KeyboardState released = sim::keyboard_state(held);
        held.push_back(combo.key);
        host.key_event(craft, combo.key, true, sim::keyboard_state(held));
        const std::string pressed = saved();
        const bool release_taken = host.key_event(craft, combo.key, false, released) != 0;
        if (release_taken && pressed != before && saved() == before) probe.undone_on_release.push_back(combo);
        for (HWND hwnd : dialog_windows(host, module)) host.dialogs().close(hwnd);
    }
    host.step(0.1);
    for (const sim::ScenarioText::Block& b : host.scenario_blocks().blocks)
        for (const sim::SavedLine& line : b.lines) {
            probe.saved_lines.push_back(line.text);
            const std::string key = line.text.substr(0, line.text.find(' '));
            bool known = false;
            for (const std::string& k : probe.scenario_keys) known = known || k == key;
            if (!known) probe.scenario_keys.push_back(key);
        }
    host.destroy_craft(craft);
    return probe;
}

Driver::Driver(sim::Host& host, sim::Module& module, const ModuleProbe& probe, Random& random)
    : host_(host), module_(module), probe_(probe), random_(random)
{
}

std::vector<sim::Craft> Driver::craft() const
{
    std::vector<sim::Craft> out;
    for (const sim::Craft r : host_.all_craft())
        if (&r.module() == &module_) out.push_back(r);
    return out;
}

sim::Craft Driver::random_craft()
{
    const std::vector<sim::Craft> all = craft();
    return all.empty() ? sim::Craft() : random_.pick(all);
}

sim::Craft Driver::add_craft() { return add_craft(next_name_++); }

sim::Craft Driver::add_craft(int number)
{
    const std::string name = "Craft-" + std::to_string(number);
    doing("making " + name);
    return host_.create_craft(module_, name);
}

void Driver::press_random_key(sim::Craft on)
{
    const sim::Craft r = on ? on : random_craft();
    if (!r) return;
    KeyCombo combo;
    if (!probe_.consumed.empty() && random_.chance(0.75)) {
        combo = random_.pick(probe_.consumed);
    } else {
        const DWORD key = static_cast<DWORD>(random_.below(256));
        const DWORD modifier = modifiers[random_.below(4)];
        combo = KeyCombo(key, key == modifier ? 0 : modifier);
    }
    press(r, combo);
}

void Driver::open_a_dialog(sim::Craft on)
{
    const sim::Craft r = on ? on : random_craft();
    if (!r || probe_.dialog_openers.empty()) return;
    press(r, random_.pick(probe_.dialog_openers));
}

void Driver::click_random_button()
{
    const std::vector<const sim::Dialog*> open = dialogs_of(host_, module_);
    if (open.empty()) return;
    const sim::Dialog* d = random_.pick(open);
    std::vector<int> buttons;
    for (const sim::Control& c : d->controls)
        if (c.class_atom == 0x80 && c.enabled) buttons.push_back(c.id);
    // Closing is rarer than the other buttons, so dialogs stay open a while.
    if (buttons.empty() || random_.chance(0.1)) buttons.push_back(IDCANCEL);
    const int button = random_.pick(buttons);
    doing("clicking button " + std::to_string(button) + " of dialog " + std::to_string(d->resid));
    host_.dialogs().click(d->hwnd, button);
}

void Driver::click_every_button()
{
    std::vector<std::pair<HWND, int>> buttons;
    for (const sim::Dialog* d : dialogs_of(host_, module_))
        for (const sim::Control& c : d->controls)
            if (c.class_atom == 0x80 && c.enabled) buttons.emplace_back(d->hwnd, c.id);
    for (const auto& [hwnd, id] : buttons) {
        const sim::Dialog* d = host_.dialogs().dialog(hwnd);
        if (!d) continue;  // closed by an earlier click
        doing("clicking button " + std::to_string(id) + " of dialog " + std::to_string(d->resid));
        host_.dialogs().click(hwnd, id);
    }
}

void Driver::set_random_thrust(sim::Craft on)
{
    const sim::Craft r = on ? on : random_craft();
    if (!r) return;
    const THGROUP_TYPE type = group_types[random_.below(std::size(group_types))];
    const double level = random_.chance(0.3) ? 0.0 : random_.unit();
    doing("setting thruster group " + std::to_string(type) + " of " + r.name() + " to " + std::to_string(level));
    host_.set_thrust(r, type, level);
}

void Driver::step(double dt)
{
    doing("a step of " + std::to_string(dt) + " s");
    host_.step(dt);
}

void Driver::press(sim::Craft craft, const KeyCombo& combo)
{
    doing("pressing " + combo.text() + " on " + craft.name());
    host_.key_press(craft, combo.key, combo.modifiers);
}

void Driver::random_action(bool adding)
{
    const std::uint64_t roll = random_.below(100);
    if (roll < 30) press_random_key();
    else if (roll < 45) click_random_button();
    else if (roll < 55) set_random_thrust();
    else if (roll < 58) open_a_dialog();
    else if (roll < 60 && adding) add_craft();
    else step(random_.between(0.01, 0.5));
}

void Driver::random_control()
{
    if (random_.chance(0.4)) set_random_thrust();
    else step(random_.between(0.01, 0.5));
}

void Driver::random_action_on(sim::Craft craft, bool acting)
{
    const std::uint64_t roll = random_.below(100);
    const double dt = random_.between(0.01, 0.5);
    const std::uint64_t pick = random_.bits();
    const double level = random_.unit();
    if (roll >= 50) return step(dt);
    if (!acting) return;
    // Keys that open no dialog: a module's dialog may well be one for all its craft.
    std::vector<KeyCombo> keys;
    for (const KeyCombo& k : probe_.consumed) {
        bool opens = false;
        for (const KeyCombo& d : probe_.dialog_openers) opens = opens || (d.key == k.key && d.modifiers == k.modifiers);
        if (!opens) keys.push_back(k);
    }
    if (roll < 35 && !keys.empty()) {
        press(craft, keys[pick % keys.size()]);
    } else {
        host_.set_thrust(craft, group_types[pick % std::size(group_types)], level);
    }
}

void Driver::settle_for_save()
{
    for (HWND hwnd : dialog_windows(host_, module_)) host_.dialogs().click(hwnd, IDCANCEL);
    for (HWND hwnd : dialog_windows(host_, module_)) host_.dialogs().close(hwnd);
    for (const sim::Craft r : craft()) host_.shut_down_thrusters(r);
    // A module may save where a moving part is bound rather than where it
    // is: the parts are left to come to rest first, for up to two minutes.
    auto poses = [&] {
        std::vector<double> out;
        for (const sim::Craft r : craft())
            for (double state : r.animation_states()) out.push_back(state);
        return out;
    };
    for (int i = 0; i < 240; ++i) {
        const std::vector<double> before = poses();
        step(0.5);
        if (poses() == before) break;
    }
}

}  // namespace validate
