// What the host can tell about each craft at one moment, and the JSON file
// that collects it over a run.
#pragma once

#include <string>
#include <vector>

#include "sim/atomic_file.h"
#include "sim/host.h"

namespace app {

struct CraftSample {
    std::string name;
    int animations = 0;
    double animation = 0;  // the state the module last gave the craft's first animation
    int beacons = 0, beacons_lit = 0;
    double propellant = 0, capacity = 0, mass = 0;
    VECTOR3 pos{}, vel{}, omega{};  // omega in rad/s, body frame
    double speed = 0;
};

// An open dialog as its module's template lays it out, with each button's
// state at the moment.
struct DialogSample {
    std::string module;  // the class of the module whose dialog it is
    std::string caption;
    struct Button {
        int id = 0;
        std::string caption;
        bool enabled = true;
    };
    std::vector<Button> buttons;
};

struct Sample {
    double t = 0;  // seconds after the start of the run
    std::vector<CraftSample> craft;
    std::vector<DialogSample> dialogs;  // in the order they opened
};

Sample take_sample(sim::Host& host, double t);

// Streams samples to a file as they come, so memory stays flat over long
// runs. The file appears, complete, only at close(); until then any earlier
// file of that name stays as it was.
class JsonTelemetry {
public:
    // Throws sim::WriteError when the file cannot be created.
    JsonTelemetry(const std::string& path, const std::vector<std::string>& modules, const std::string& scenario);

    void add(const Sample& sample);
    // Ends the file with the notes and the saved files and puts it in place;
    // throws sim::WriteError.
    void close(const std::vector<std::string>& events, const std::vector<std::string>& saved);

private:
    sim::AtomicFile file_;
    bool first_ = true;
};

}  // namespace app
