// The navigation beacons: what the host reads through their addresses, and
// how they follow the lights command at each step.
#include <gtest/gtest.h>

#include "core/host_access.h"
#include "sim/beacons.h"
#include "support/behaviour_helpers.h"
#include "support/module_fixture.h"

namespace {
using behaviour::LoadOne;

const std::vector<bool> all_lit(4, true), all_dark(4, false);

TEST_F(ModuleTest, BeaconsAreRegisteredLitWithTheirFixedValues)
{
    const sim::Craft r = NewVessel();
    const std::vector<sim::BeaconView> b = r.beacons();
    ASSERT_EQ(b.size(), 4u);
    const VECTOR3 pos[4] = {{0.92, 1.074, -0.584}, {-0.87, 1.074, -0.584}, {0, 1.35, 0}, {0, 1.35, -0.95}};
    const VECTOR3 col[4] = {{0, 1, 0}, {1, 0, 0}, {1, 1, 0.5}, {1, 1, 0.5}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(b[i].shape, 2u);
        EXPECT_EQ(b[i].pos.x, pos[i].x);
        EXPECT_EQ(b[i].pos.y, pos[i].y);
        EXPECT_EQ(b[i].pos.z, pos[i].z);
        EXPECT_EQ(b[i].col.x, col[i].x);
        EXPECT_EQ(b[i].col.y, col[i].y);
        EXPECT_EQ(b[i].col.z, col[i].z);
        EXPECT_EQ(b[i].size, 0.05);
        EXPECT_EQ(b[i].falloff, 0.8);
        EXPECT_EQ(b[i].period, 0.0);
        EXPECT_EQ(b[i].duration, 0.05);
        EXPECT_EQ(b[i].tofs, 0.2);
        EXPECT_TRUE(b[i].lit);
    }
}

TEST_F(ModuleTest, BeaconsGoDarkAtTheFirstStepWithoutTheLightsLine)
{
    const sim::Craft r = LoadOne(*host, *module, "POS 0 0 0\n");
    EXPECT_EQ(r.beacons_lit(), all_lit);
    EXPECT_TRUE(host->drawn_beacons(r).empty());
    host->step(0.1);
    EXPECT_EQ(r.beacons_lit(), all_dark);
    ASSERT_EQ(host->drawn_beacons(r).size(), 4u);
    for (const sim::BeaconView& b : host->drawn_beacons(r)) EXPECT_FALSE(b.lit);
}

TEST_F(ModuleTest, BeaconsStayLitWithTheLightsLineUntilSwitchedOff)
{
    const sim::Craft r = LoadOne(*host, *module, "NAVLIGHTS\n");
    for (int i = 0; i < 3; ++i) {
        host->step(0.1);
        EXPECT_EQ(r.beacons_lit(), all_lit);
    }
    ASSERT_EQ(host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT}), 1);
    EXPECT_EQ(r.beacons_lit(), all_lit);  // the step carries it over, not the key
    host->step(0.1);
    EXPECT_EQ(r.beacons_lit(), all_dark);
}

TEST_F(ModuleTest, LightsToggledTwiceBetweenStepsStayAsTheyWere)
{
    const sim::Craft r = NewVessel();
    host->step(0.1);
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_RSHIFT});
    host->step(0.1);
    EXPECT_EQ(r.beacons_lit(), all_dark);
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->step(0.1);
    EXPECT_EQ(r.beacons_lit(), all_lit);
}

TEST_F(ModuleTest, TwoCraftHaveTheirOwnBeaconsOverSharedTables)
{
    const sim::Craft a = NewVessel("A");
    const sim::Craft b = NewVessel("B");
    // The records themselves, which the craft's views only copy.
    const sim::VesselRecord& ra = sim::host_access::record(a);
    const sim::VesselRecord& rb = sim::host_access::record(b);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NE(ra.beacons[i], rb.beacons[i]) << "each craft keeps its own beacon records";
        EXPECT_EQ(ra.beacons[i]->pos, rb.beacons[i]->pos) << "positions come from one shared table";
        EXPECT_EQ(ra.beacons[i]->col, rb.beacons[i]->col);
    }
    host->key_press(a, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->step(0.1);
    EXPECT_EQ(a.beacons_lit(), all_lit);
    EXPECT_EQ(b.beacons_lit(), all_dark);
    // Destroying one leaves the other's records readable where they were.
    host->destroy_craft(a);
    host->step(0.1);
    EXPECT_EQ(host->drawn_beacons(b).size(), 4u);
    EXPECT_EQ(b.beacons_lit(), all_dark);
}

}  // namespace
