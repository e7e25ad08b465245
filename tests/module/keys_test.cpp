// Keyboard commands, delivered as the host delivers key events, row by row
// of the craft's key table, and what each one leads to at the next step.
#include <gtest/gtest.h>

#include "sim/beacons.h"
#include "support/module_fixture.h"

namespace {

// What a key event led to, seen from the host after the next step.
struct Effects {
    bool deploying = false;
    bool lights_on = false;
    size_t refuels = 0;
    size_t dialog_openings = 0;
    bool operator==(const Effects& o) const
    {
        return deploying == o.deploying && lights_on == o.lights_on && refuels == o.refuels &&
               dialog_openings == o.dialog_openings;
    }
};

std::ostream& operator<<(std::ostream& os, const Effects& e)
{
    return os << "{deploying " << e.deploying << ", lights " << e.lights_on << ", refuels " << e.refuels
              << ", dialog openings " << e.dialog_openings << "}";
}

const Effects none{};
const Effects deploys{true, false, 0, 0};
const Effects lights{false, true, 0, 0};
const Effects refuels{false, false, 1, 0};
const Effects opens{false, false, 0, 1};

class KeysTest : public ModuleTest {
protected:
    // A fresh craft, past its first step (lights dark, arrays held at 1).
    sim::Craft Fresh()
    {
        const sim::Craft r = NewVessel("K" + std::to_string(++count_));
        host->step(1);
        host->log().clear();
        return r;
    }

    Effects After(sim::Craft r)
    {
        Effects e;
        e.refuels = host->log().count("SetFuelMass");
        e.dialog_openings = host->log().count("oapiOpenDialogEx");
        host->step(1);
        for (const sim::HostCall& c : host->log().named("SetAnimation"))
            if (c.craft == r && c.numbers[1] < 1) e.deploying = true;
        e.lights_on = r.beacons_lit().at(0);
        host->dialogs().close_all();
        host->destroy_craft(r);
        return e;
    }

    Effects Press(DWORD code, std::vector<DWORD> modifiers, int expected_result)
    {
        const sim::Craft r = Fresh();
        EXPECT_EQ(host->key_press(r, code, modifiers), expected_result);
        return After(r);
    }

    Effects Event(DWORD code, bool down, const sim::KeyboardState& state, int expected_result)
    {
        const sim::Craft r = Fresh();
        EXPECT_EQ(host->key_event(r, code, down, state), expected_result);
        return After(r);
    }

    // The propellant in the craft's default tank, and filling it as a
    // scenario editor would.
    double Fuel(sim::Craft r) { return r.tanks().at(r.default_tank()).mass; }
    void SetFuel(sim::Craft r, double mass) { host->set_propellant_mass(r, size_t(r.default_tank()), mass); }

    int count_ = 0;
};

TEST_F(KeysTest, ReleasesAreNeverCommands)
{
    for (DWORD code : {OAPI_KEY_K, OAPI_KEY_L, OAPI_KEY_F, OAPI_KEY_SPACE})
        for (std::vector<DWORD> mods : std::vector<std::vector<DWORD>>{{}, {OAPI_KEY_LSHIFT}, {OAPI_KEY_LCONTROL}, {OAPI_KEY_RCONTROL}}) {
            mods.push_back(code);
            EXPECT_EQ(Event(code, false, sim::keyboard_state(mods), 0), none) << "code " << code;
        }
}

TEST_F(KeysTest, PlainKeys)
{
    EXPECT_EQ(Press(OAPI_KEY_K, {}, 1), deploys);
    EXPECT_EQ(Press(OAPI_KEY_L, {}, 0), none);
    EXPECT_EQ(Press(OAPI_KEY_F, {}, 0), none);
    EXPECT_EQ(Press(OAPI_KEY_SPACE, {}, 0), none);
    EXPECT_EQ(Press(0x1E, {}, 0), none);  // A
}

TEST_F(KeysTest, ShiftOnlyMakesLACommand)
{
    for (DWORD shift : {OAPI_KEY_LSHIFT, OAPI_KEY_RSHIFT}) {
        EXPECT_EQ(Press(OAPI_KEY_L, {shift}, 1), lights);
        EXPECT_EQ(Press(OAPI_KEY_K, {shift}, 0), none);
        EXPECT_EQ(Press(OAPI_KEY_F, {shift}, 0), none);
        EXPECT_EQ(Press(OAPI_KEY_SPACE, {shift}, 0), none);
    }
}

TEST_F(KeysTest, ShiftWinsOverCtrl)
{
    EXPECT_EQ(Press(OAPI_KEY_L, {OAPI_KEY_LSHIFT, OAPI_KEY_LCONTROL}, 1), lights);
    EXPECT_EQ(Press(OAPI_KEY_L, {OAPI_KEY_RSHIFT, OAPI_KEY_RCONTROL}, 1), lights);
    EXPECT_EQ(Press(OAPI_KEY_F, {OAPI_KEY_LSHIFT, OAPI_KEY_LCONTROL}, 0), none);
    EXPECT_EQ(Press(OAPI_KEY_SPACE, {OAPI_KEY_RSHIFT, OAPI_KEY_LCONTROL}, 0), none);
}

TEST_F(KeysTest, CtrlKeys)
{
    for (DWORD ctrl : {OAPI_KEY_LCONTROL, OAPI_KEY_RCONTROL}) {
        EXPECT_EQ(Press(OAPI_KEY_F, {ctrl}, 1), refuels);
        EXPECT_EQ(Press(OAPI_KEY_SPACE, {ctrl}, 1), opens);
        EXPECT_EQ(Press(OAPI_KEY_K, {ctrl}, 0), none);
        EXPECT_EQ(Press(OAPI_KEY_L, {ctrl}, 0), none);
    }
}

TEST_F(KeysTest, AltIsNeverLookedAt)
{
    for (DWORD alt : {OAPI_KEY_LALT, OAPI_KEY_RALT}) {
        EXPECT_EQ(Press(OAPI_KEY_K, {alt}, 1), deploys);
        EXPECT_EQ(Press(OAPI_KEY_L, {alt, OAPI_KEY_LSHIFT}, 1), lights);
        EXPECT_EQ(Press(OAPI_KEY_F, {alt, OAPI_KEY_RCONTROL}, 1), refuels);
        EXPECT_EQ(Press(OAPI_KEY_L, {alt}, 0), none);
    }
}

TEST_F(KeysTest, OnlyBitSevenMarksAHeldModifier)
{
    sim::KeyboardState low{};
    low[OAPI_KEY_LSHIFT] = 0x7F;
    low[OAPI_KEY_RCONTROL] = 0x7F;
    EXPECT_EQ(Event(OAPI_KEY_K, true, low, 1), deploys);
    EXPECT_EQ(Event(OAPI_KEY_L, true, low, 0), none);

    sim::KeyboardState high{};
    high[OAPI_KEY_RSHIFT] = static_cast<char>(0x80);
    EXPECT_EQ(Event(OAPI_KEY_L, true, high, 1), lights);
    high[OAPI_KEY_RSHIFT] = static_cast<char>(0xFF);
    EXPECT_EQ(Event(OAPI_KEY_K, true, high, 0), none);
}

TEST_F(KeysTest, RefuelFillsTheTankOnce)
{
    const sim::Craft r = Fresh();
    SetFuel(r, 12.5);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_F, {OAPI_KEY_LCONTROL}), 1);
    EXPECT_EQ(Fuel(r), 500.0);
    auto calls = host->log().named("SetFuelMass");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].numbers[0], 500.0);

    SetFuel(r, 3);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_F, {OAPI_KEY_RCONTROL}), 1);
    EXPECT_EQ(Fuel(r), 3.0);
    EXPECT_EQ(host->log().count("SetFuelMass"), 1u);
}

TEST_F(KeysTest, RefuelCountsAlsoWhenTheTankIsFull)
{
    const sim::Craft r = Fresh();
    ASSERT_EQ(Fuel(r), 500.0);
    host->key_press(r, OAPI_KEY_F, {OAPI_KEY_LCONTROL});
    SetFuel(r, 1);
    host->key_press(r, OAPI_KEY_F, {OAPI_KEY_LCONTROL});
    EXPECT_EQ(host->log().count("SetFuelMass"), 1u);
    EXPECT_EQ(Fuel(r), 1.0);
}

TEST_F(KeysTest, CtrlSpaceOpensTheOneDialogAnyNumberOfTimes)
{
    const sim::Craft r = Fresh();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_LCONTROL}), 1);
    ASSERT_EQ(host->dialogs().open_dialogs().size(), 1u);
    const sim::Dialog& d = *host->dialogs().open_dialogs()[0];
    EXPECT_EQ(d.instance, module->instance());
    EXPECT_EQ(d.resid, 108);
    EXPECT_EQ(d.flags, 2u);
    EXPECT_EQ(d.context, static_cast<void*>(r.callbacks()));
    EXPECT_EQ(d.raised, 2);
    EXPECT_EQ(host->log().count("oapiOpenDialogEx"), 3u);

    host->dialogs().close(d.hwnd);
    EXPECT_EQ(host->key_press(r, OAPI_KEY_SPACE, {OAPI_KEY_RCONTROL}), 1);
    EXPECT_EQ(host->dialogs().open_dialogs().size(), 1u);
    // The key opening leaves the scenario's automatic opening alone: none here.
    host->step(1);
    EXPECT_EQ(host->log().count("oapiOpenDialogEx"), 4u);
}

TEST_F(KeysTest, KeyCodesOutsideTheSetAreRefusedBeforeReachingTheCraft)
{
    const sim::Craft r = Fresh();
    EXPECT_THROW(host->key_press(r, 256), std::invalid_argument);
    EXPECT_THROW(host->key_press(r, OAPI_KEY_K, {300}), std::invalid_argument);
    host->step(1);
    EXPECT_EQ(host->log().named("SetAnimation").back().numbers[1], 1.0);
}

// A real host may hand over codes past the keyboard set; only the full code
// names a key, so one whose low byte is a command key is no command.
TEST_F(KeysTest, CodesAboveTheByteAreNoCommandsWhateverTheirLowByte)
{
    const struct {
        DWORD code;
        std::vector<DWORD> modifiers;
    } cases[] = {{0x125, {}}, {0x100 | OAPI_KEY_L, {OAPI_KEY_LSHIFT}}, {0x100 | OAPI_KEY_F, {OAPI_KEY_LCONTROL}},
                 {0x100 | OAPI_KEY_SPACE, {OAPI_KEY_RCONTROL}}, {0xFFFFFF00 | OAPI_KEY_K, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const sim::Craft r = Fresh();
        sim::KeyboardState state = sim::keyboard_state(c.modifiers);
        EXPECT_EQ(r.callbacks()->clbkKeyPress(c.code, true, state.data()), 0);
        EXPECT_EQ(After(r), none);
    }
}

}  // namespace
