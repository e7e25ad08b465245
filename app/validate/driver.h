// Drives a module's craft in the stand-in host as a user would, at random:
// key presses the module was seen to take, clicks on its dialogs' buttons,
// thruster levels, steps. What the module answers to is learnt first by a
// probe, so nothing about any particular module is known in advance. Each
// action is named to the validator before it is taken.
#pragma once

#include <string>
#include <vector>

#include "keys/key_combo.h"
#include "random.h"
#include "sim/host.h"

namespace validate {

using app::KeyCombo;

struct ModuleProbe {
    std::vector<KeyCombo> consumed;        // presses the craft reported as taken
    std::vector<KeyCombo> dialog_openers;  // presses after which one of its dialogs was open
    std::vector<std::string> scenario_keys;  // first words of the lines a craft saves
    std::vector<std::string> saved_lines;    // the lines of a craft's save, in order
    // Presses whose release, taken too, put back what the key-down changed.
    std::vector<KeyCombo> undone_on_release;
};

// Presses every key with no modifier, Shift, Ctrl and Alt on a craft made for
// the purpose (destroyed afterwards), then saves it. The host must have no
// craft of the module's dialogs open when called.
ModuleProbe probe_module(sim::Host& host, sim::Module& module);

// The dialogs open in the host that belong to `module`; valid until one closes.
std::vector<const sim::Dialog*> dialogs_of(sim::Host& host, const sim::Module& module);
// Their windows, which stay safe to name after any of them closes.
std::vector<HWND> dialog_windows(sim::Host& host, const sim::Module& module);

class Driver {
public:
    // All references must outlive the driver.
    Driver(sim::Host& host, sim::Module& module, const ModuleProbe& probe, Random& random);

    sim::Craft add_craft();
    // A craft named "Craft-N" for the `number` given, whatever was made before.
    sim::Craft add_craft(int number);
    void press_random_key(sim::Craft on = {});
    void click_random_button();
    void set_random_thrust(sim::Craft on = {});
    void step(double dt);
    // Each of those acting on a random craft when given none.
    // One of the above but removing craft, weighted towards keys and steps;
    // with `adding` false, never adding one either.
    void random_action(bool adding = true);
    // A step or a thruster setting: the host's own controls, no command of the module's.
    void random_control();
    // Acts on `craft` alone (keys that open no dialog, thrust) or, when
    // `acting` is false, draws the same randomness and only steps when it
    // would: one sequence of steps either way.
    void random_action_on(sim::Craft craft, bool acting);
    // Closes the module's dialogs as a user would, sets every thruster of
    // its craft to 0 and steps until no animation moves: what a save need
    // not hold.
    void settle_for_save();
    void open_a_dialog(sim::Craft on = {});  // presses a dialog-opening key, if any is known
    // Names the press to the validator, then makes it.
    void press(sim::Craft craft, const KeyCombo& combo);
    // Clicks every enabled button of the module's open dialogs, once each.
    void click_every_button();

    sim::Craft random_craft();  // no craft when there is none
    std::vector<sim::Craft> craft() const;

private:
    sim::Host& host_;
    sim::Module& module_;
    const ModuleProbe& probe_;
    Random& random_;
    int next_name_ = 1;
};

}  // namespace validate
