// What the host draws of a craft's beacons is what they were when the last
// step ended, even when module code changes them before anyone looks.
#include <limits>

#include "probe_fixture.h"

namespace {

class Drawing : public ProbeTest {
protected:
    bool DrawnLit()
    {
        const std::vector<sim::BeaconView>& drawn = host.drawn_beacons(craft);
        EXPECT_EQ(drawn.size(), 1u);
        return !drawn.empty() && drawn[0].lit;
    }

    sim::Craft craft = NewProbe();
};

TEST_F(Drawing, BeaconsAreDrawnAsTheLastStepLeftThem)
{
    EXPECT_TRUE(host.drawn_beacons(craft).empty()) << "nothing is drawn before the first step";
    host.step(0.1);
    // The probe switches its beacon at once, outside any step.
    host.key_press(craft, OAPI_KEY_L);
    ASSERT_TRUE(craft.beacons_lit().at(0));
    EXPECT_FALSE(DrawnLit()) << "switched on after the step";
    host.step(0.1);
    EXPECT_TRUE(DrawnLit());

    // A step taken back leaves them drawn as they are then.
    host.key_press(craft, OAPI_KEY_L);
    sim::BodyState runaway;
    runaway.pos.x = std::numeric_limits<double>::max();
    runaway.vel.x = 1e300;
    host.place(craft, runaway);
    EXPECT_THROW(host.step(0.1), sim::StateError);
    EXPECT_FALSE(DrawnLit());
}

}  // namespace
