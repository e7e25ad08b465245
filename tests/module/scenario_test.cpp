// The craft's scenario lines: how they are read, how they are written, and
// what survives a save and a reload.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdlib>

#include "sim/beacons.h"
#include "support/behaviour_helpers.h"
#include "support/module_fixture.h"

namespace {
using behaviour::LoadOne;
using behaviour::Saved;
using behaviour::SavedLines;
using behaviour::States;

class ScenarioTest : public ModuleTest {
protected:
    sim::Craft Load(const std::string& lines) { return LoadOne(*host, *module, lines); }

    // The state the reader handed to the animation.
    double LoadedArrays(const std::string& lines)
    {
        host->log().clear();
        const sim::Craft r = Load(lines);
        const std::vector<double> s = States(host->log(), "SetAnimState");
        host->destroy_craft(r);
        EXPECT_EQ(s.size(), 1u) << lines;
        return s.empty() ? -99 : s[0];
    }

    std::string SavedPayload(const std::string& lines)
    {
        const sim::Craft r = Load(lines);
        const std::string v = Saved(*host, "PAYLOAD_MASS");
        host->destroy_craft(r);
        return v;
    }

    // Saves everything, removes every craft, and loads the saved text.
    std::string Reload()
    {
        const std::string text = host->scenario_text();
        while (!host->all_craft().empty()) host->destroy_craft(host->all_craft().back());
        host->load_scenario(sim::parse_scenario(text, "saved.scn"), *module);
        return text;
    }
};

TEST_F(ScenarioTest, KeysMatchByPrefixInAnyCase)
{
    EXPECT_EQ(LoadedArrays("arrays0.5\n"), 0.5);
    EXPECT_EQ(LoadedArrays("ArRaYs 0.25\n"), 0.25);
    EXPECT_EQ(LoadedArrays("ARRAYS\n"), 0.0);
    EXPECT_EQ(LoadedArrays("Arrays abc\n"), 0.0);
    EXPECT_EQ(LoadedArrays("ARRAYSX 0.75\n"), 0.0);
    EXPECT_EQ(LoadedArrays("POS 0 0 0\n"), 1.0);
    EXPECT_EQ(SavedPayload("payload_mass42.5\n"), "42.5000");
}

TEST_F(ScenarioTest, ArraysOutsideTheRangeAreKeptAsRead)
{
    EXPECT_EQ(LoadedArrays("ARRAYS 2.5\n"), 2.5);
    EXPECT_EQ(LoadedArrays("ARRAYS -3\n"), -3.0);
    EXPECT_EQ(LoadedArrays("ARRAYS 0.1\n"), double(0.1f));
    Load("ARRAYS 7\n");
    EXPECT_EQ(Saved(*host, "ARRAYS"), "7");
}

TEST_F(ScenarioTest, LaterLinesWinAndUnreadableMassesAreSkipped)
{
    EXPECT_EQ(LoadedArrays("ARRAYS 0.2\nARRAYS 0.7\n"), double(0.7f));
    EXPECT_EQ(LoadedArrays("ARRAYS 0.2\nARRAYS junk\n"), 0.0);
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS 10\nPAYLOAD_MASS abc\n"), "10.0000");
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS 10\nPAYLOAD_MASS\nPAYLOAD_MASS 20\n"), "20.0000");
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS kg\n"), "0.0000");
    for (const char* infinite : {"1e999", "-1e999", "inf", "nan", "-INFINITY"}) {
        SCOPED_TRACE(infinite);
        EXPECT_EQ(SavedPayload("PAYLOAD_MASS 10\nPAYLOAD_MASS " + std::string(infinite) + "\n"), "10.0000");
    }
}

TEST_F(ScenarioTest, LightsAndDialogLinesCountWhateverFollows)
{
    const sim::Craft r = Load("NAVLIGHTS 0\nDIALOGUE please\n");
    host->step(1);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    EXPECT_NE(host->dialogs().find(module->instance(), 108), nullptr);
    host->destroy_craft(r);

    const sim::Craft plain = Load("POS 0 0 0\n");
    host->step(1);
    EXPECT_EQ(plain.beacons_lit(), std::vector<bool>(4, false));
    EXPECT_EQ(host->dialogs().find(module->instance(), 108), nullptr);
}

TEST_F(ScenarioTest, OnlyLinesWithoutAKeyReachTheHostUnchanged)
{
    Load("POS 1 2 3\nARRAYS 0.5\nVEL  4 5 6\npayload_mass 3\nATT 1 0 0 0\nnavlights\ndialog\n");
    std::vector<std::string> passed;
    for (const sim::HostCall& c : host->log().named("ParseScenarioLineEx")) passed.push_back(c.text);
    EXPECT_EQ(passed, (std::vector<std::string>{"POS 1 2 3", "VEL  4 5 6", "ATT 1 0 0 0"}));
    const sim::Craft r = host->all_craft().back();
    EXPECT_EQ(r.body().vel.z, 6.0);
}

TEST_F(ScenarioTest, LinesNeitherSideKnowsAreReportedWithTheirPlace)
{
    const std::string text = behaviour::Block(*module, "  POS 0 0 0\n  FOO bar\n  POS 1 2\n");
    try {
        host->load_scenario(sim::parse_scenario(text, "ships.scn"), *module);
        FAIL() << "loaded";
    } catch (const sim::ScenarioError& e) {
        EXPECT_STREQ(e.what(), "ships.scn:3: unknown line: FOO bar\nships.scn:4: expected three numbers: POS 1 2");
    }
    EXPECT_TRUE(host->all_craft().empty());
}

TEST_F(ScenarioTest, WrittenInTheHostsOrderThenTheCraftsKeys)
{
    const sim::Craft r = NewVessel();
    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL});
    // Saved before any step: the command is written, not the lit flags.
    std::vector<std::string> keys;
    for (const std::string& l : SavedLines(*host)) keys.push_back(l.substr(0, l.find(' ')));
    EXPECT_EQ(keys, (std::vector<std::string>{"POS", "VEL", "ATT", "AROT", "PROPELLANT", "ARRAYS", "PAYLOAD_MASS",
                                              "NAVLIGHTS", "DIALOG"}));
    EXPECT_EQ(Saved(*host, "NAVLIGHTS"), "");
    EXPECT_EQ(Saved(*host, "DIALOG"), "");

    host->key_press(r, OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->dialogs().close_all();
    EXPECT_EQ(Saved(*host, "NAVLIGHTS"), "(none)");
    EXPECT_EQ(Saved(*host, "DIALOG"), "(none)");
}

TEST_F(ScenarioTest, EveryCraftWritesTheDialogWhileItIsOpen)
{
    NewVessel("A");
    const sim::Craft b = NewVessel("B");
    host->key_press(b, OAPI_KEY_SPACE, {OAPI_KEY_RCONTROL});
    EXPECT_EQ(Saved(*host, "DIALOG", "A"), "");
    EXPECT_EQ(Saved(*host, "DIALOG", "B"), "");
}

TEST_F(ScenarioTest, PayloadMassKeepsFourDecimals)
{
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS 1234.56789\n"), "1234.5679");
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS 1234.5\n"), "1234.5000");
    EXPECT_EQ(SavedPayload("PAYLOAD_MASS -0.00004\n"), "-0.0000");
    Load("PAYLOAD_MASS 1234.56789\n");
    Reload();
    EXPECT_EQ(Saved(*host, "PAYLOAD_MASS"), "1234.5679");
}

TEST_F(ScenarioTest, HugePayloadMassesReadBackAsTheSameNumber)
{
    for (double m : {1e249, 1e250, -1e248, -1e249, 1e300, -1e300, DBL_MAX, -DBL_MAX}) {
        SCOPED_TRACE(m);
        char line[400];
        std::snprintf(line, sizeof line, "PAYLOAD_MASS %.17g\n", m);
        const std::string text = SavedPayload(line);
        EXPECT_LT(text.size(), 256u);
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), m) << text;
    }
    // Up to the buffer's size the fixed form stays.
    const std::string widest = SavedPayload("PAYLOAD_MASS 5e249\n");
    EXPECT_EQ(widest.size(), 255u);
    EXPECT_EQ(widest.find('e'), std::string::npos);
}

TEST_F(ScenarioTest, SaveAndReloadKeepEverySavedField)
{
    Load("POS 1 2 3\nVEL 0.5 0 -1\nATT 0 1 0 0\nAROT 0 0.1 0\nPROPELLANT 0 123.25\n"
         "ARRAYS 0.625\nPAYLOAD_MASS 77.125\nNAVLIGHTS\nDIALOG\n");
    host->step(0.5);
    host->set_sim_time(321.75);
    const std::string first = Reload();
    EXPECT_EQ(host->sim_time(), 321.75);
    EXPECT_NE(first.find("ARRAYS 0.625\n"), std::string::npos);
    EXPECT_NE(first.find("PROPELLANT 0 123.25\n"), std::string::npos);
    // Reloaded, the craft writes the same, except that its dialog opens
    // again only at the first step.
    std::string expected = first;
    expected.erase(expected.find("  DIALOG\n"), 9);
    EXPECT_EQ(host->scenario_text(), expected);

    const sim::Craft r = host->all_craft().back();
    host->step(0.5);
    EXPECT_EQ(r.beacons_lit(), std::vector<bool>(4, true));
    EXPECT_NE(host->dialogs().find(module->instance(), 108), nullptr);
    EXPECT_EQ(Saved(*host, "DIALOG"), "");
    EXPECT_EQ(Saved(*host, "ARRAYS"), "0.625");
    EXPECT_EQ(Saved(*host, "PAYLOAD_MASS"), "77.1250");
}

TEST_F(ScenarioTest, ADeploymentSavedHalfwayWaitsForANewCommand)
{
    const sim::Craft r = NewVessel();
    host->key_press(r, OAPI_KEY_K);
    for (int i = 0; i < 10; ++i) host->step(1);
    const std::string state = Saved(*host, "ARRAYS");
    ASSERT_NEAR(std::atof(state.c_str()), 0.5, 1e-6);
    Reload();
    const sim::Craft again = host->all_craft().back();
    const float saved = std::strtof(state.c_str(), nullptr);
    EXPECT_EQ(States(host->log(), "SetAnimState").back(), double(saved));

    host->log().clear();
    for (int i = 0; i < 5; ++i) host->step(1);
    EXPECT_EQ(States(host->log(), "SetAnimation"), std::vector<double>(5, saved));

    host->key_press(again, OAPI_KEY_K);
    host->log().clear();
    for (int i = 0; i < 12; ++i) host->step(1);
    const std::vector<double> got = States(host->log(), "SetAnimation");
    ASSERT_EQ(got.size(), 10u);
    EXPECT_NEAR(got[0], 0.45, 1e-6);
    EXPECT_EQ(Saved(*host, "ARRAYS"), "0");
}

TEST_F(ScenarioTest, RefuelIsAvailableAgainAfterAReload)
{
    const sim::Craft r = NewVessel();
    host->key_press(r, OAPI_KEY_F, {OAPI_KEY_LCONTROL});
    Reload();
    host->log().clear();
    host->key_press(host->all_craft().back(), OAPI_KEY_F, {OAPI_KEY_LCONTROL});
    EXPECT_EQ(host->log().count("SetFuelMass"), 1u);
}

TEST_F(ScenarioTest, ADialogClosedBeforeSavingStaysClosedAfterReload)
{
    Load("DIALOG\n");
    host->step(1);
    host->dialogs().send(host->dialogs().find(module->instance(), 108), WM_COMMAND, IDCANCEL, 0);
    Reload();
    host->step(1);
    EXPECT_EQ(host->dialogs().find(module->instance(), 108), nullptr);
}

}  // namespace
