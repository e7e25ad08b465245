// What the host draws of a craft's beacons is what they were when the last
// step ended, even when module code changes them before anyone looks.
#include <gtest/gtest.h>

#include <limits>

#include "sim/host.h"
#include "sim/keyboard.h"

#ifndef LAMP_MODULE_PATH
#error "the test needs the path of the lamp test module"
#endif

namespace {

bool DrawnLit(sim::Host& host, const sim::VesselRecord& r)
{
    const std::vector<sim::BeaconView>& drawn = host.drawn_beacons(r);
    EXPECT_EQ(drawn.size(), 1u);
    return !drawn.empty() && drawn[0].lit;
}

TEST(Drawing, BeaconsAreDrawnAsTheLastStepLeftThem)
{
    sim::Host host;
    sim::VesselRecord& r = host.create_vessel(host.load_module(LAMP_MODULE_PATH), "L-1");
    EXPECT_TRUE(host.drawn_beacons(r).empty()) << "nothing is drawn before the first step";
    host.step(0.1);
    host.key_press(r, OAPI_KEY_L);
    EXPECT_FALSE(DrawnLit(host, r)) << "switched on after the step";
    host.step(0.1);
    EXPECT_TRUE(DrawnLit(host, r));

    // A step taken back leaves them drawn as they are then.
    host.key_press(r, OAPI_KEY_L);
    r.body.pos.x = std::numeric_limits<double>::max();
    r.body.vel.x = 1e300;
    EXPECT_THROW(host.step(0.1), sim::StateError);
    EXPECT_FALSE(DrawnLit(host, r));
}

}  // namespace
