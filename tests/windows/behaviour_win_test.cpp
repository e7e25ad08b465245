// The craft under Windows: the same class definition and animation as the
// native build, and the keyboard commands through the host's key path.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/animation_expectations.h"
#include "support/definition_expectations.h"
#include "win_fixture.h"

namespace {
using WinBehaviourTest = WinModuleTest;

bool Lit(const sim::Craft& r)
{
    const std::vector<bool> lit = r.beacons_lit();
    return !lit.empty() && std::find(lit.begin(), lit.end(), false) == lit.end();
}

TEST_F(WinBehaviourTest, DefinitionAndAnimationMatchTheNativeBuild)
{
    const sim::Craft r = NewVessel();
    ExpectMervexDefinition(r);
    ExpectMervexArrayHinges(r);
    ExpectSevenSecondDeployment(*host, r);
}

TEST_F(WinBehaviourTest, KeysActThroughTheHostsKeyPath)
{
    const sim::Craft r = NewVessel();
    host->step(1);
    EXPECT_FALSE(Lit(r)) << "lights start off";

    EXPECT_EQ(host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT}), 1);
    host->step(1);
    EXPECT_TRUE(Lit(r));
    EXPECT_EQ(host->key_press(r, OAPI_KEY_L, {OAPI_KEY_RSHIFT}), 1);
    host->step(1);
    EXPECT_FALSE(Lit(r));

    const size_t tank = size_t(r.default_tank());
    host->set_propellant_mass(r, tank, 10);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_F, {OAPI_KEY_LCONTROL}), 1);
    EXPECT_EQ(r.tanks().at(tank).mass, 500);
    host->set_propellant_mass(r, tank, 10);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_F, {OAPI_KEY_RCONTROL}), 1);
    EXPECT_EQ(r.tanks().at(tank).mass, 10) << "the refuel is a one-time offer";

    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL}), 1);
    EXPECT_NE(Dialog(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Dialog()));

    EXPECT_EQ(host->key_press(r, OAPI_KEY_K), 1);
    host->step(1);
    EXPECT_LT(r.animation_states().at(0), 1);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_K, {OAPI_KEY_LALT}), 1) << "Alt is not looked at";
    EXPECT_EQ(host->key_press(r, OAPI_KEY_L), 0) << "L alone does nothing";
}
}  // namespace
