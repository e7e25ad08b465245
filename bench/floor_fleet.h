// The floor a host step is measured against: the host's free-space equations
// (rigid body, thrust, propellant) for a fleet of craft on plain arrays, with
// no module, no callbacks and no per-craft records. It is built from craft the
// host holds, so it flies the same thrusters at the same levels.
#pragma once

#include <cstddef>
#include <vector>

#include "sim/craft.h"

namespace bench {

class FloorFleet {
public:
    // Thrusters whose tank belongs to another craft fly without propellant.
    explicit FloorFleet(const std::vector<sim::Craft>& craft);
    void step(double dt);

    const sim::BodyState& body(size_t craft) const { return body_[craft]; }
    // The masses of the craft's tanks, in the order the module created them.
    std::vector<double> tank_masses(size_t craft) const;

private:
    struct Craft {
        size_t first_thruster = 0, thrusters = 0, first_tank = 0, tanks = 0;
        double empty_mass = 0;
        VECTOR3 pmi{};
    };
    static constexpr size_t no_tank = static_cast<size_t>(-1);

    void step_craft(const Craft& c, sim::BodyState& b, double dt);
    double mass(const Craft& c) const;

    std::vector<Craft> craft_;
    std::vector<sim::BodyState> body_;
    // One entry per thruster of the fleet.
    std::vector<VECTOR3> pos_, dir_;
    std::vector<double> max_thrust_, full_flow_, level_;
    std::vector<size_t> tank_;
    // One entry per tank of the fleet; demand, share and asked live for one step.
    std::vector<double> tank_mass_, demand_, share_;
    std::vector<char> asked_;
};

}  // namespace bench
