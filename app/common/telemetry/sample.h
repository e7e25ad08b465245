// What the host can tell about each craft and each open dialog at one
// moment: the one record of a run both programs take. simhost-run writes it
// to its telemetry file, plots it and sums a run up with it; simhost-validate
// compares runs by its exact text (validate/telemetry.h).
#pragma once

#include <string>
#include <vector>

#include "sim/host.h"

namespace app {

struct CraftSample {
    std::string name;
    sim::BodyState body;  // pos m, vel m/s, attitude, omega rad/s in the body frame
    double speed = 0;     // of body.vel
    double mass = 0;
    double propellant = 0, capacity = 0;  // over all its tanks
    std::vector<double> tank_masses;      // each tank's, in the order the module made them
    std::vector<double> thruster_levels;  // likewise
    std::vector<double> animations;       // each animation's state as the module last set it
    std::vector<bool> beacons_lit;        // as the module's records say now
    std::vector<bool> beacons_drawn;      // as the last step left them; none before the first

    double first_animation() const { return animations.empty() ? 0 : animations.front(); }
    int lit_beacons() const;
};

// An open dialog as its module's template lays it out, with each control's
// state at the moment.
struct DialogSample {
    std::string module;  // the class of the module whose dialog it is
    std::string caption;
    int resid = 0;       // the template's resource number
    struct Control {
        int id = 0;
        std::string caption;
        bool enabled = true;
        bool button = false;  // one a person can click (sim::is_button)
    };
    std::vector<Control> controls;  // in the template's order
};

struct Sample {
    double t = 0;  // seconds: of the run for simhost-run, the host's clock for the validator
    std::vector<CraftSample> craft;     // in the host's order
    std::vector<DialogSample> dialogs;  // in the order they opened
};

Sample take_sample(sim::Host& host, double t);

}  // namespace app
