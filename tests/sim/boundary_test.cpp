// The host's boundary with a module: each bad call a module makes, and an
// exception out of its callback, comes back as a module fault naming the
// call, its arguments and the craft, after the callback has returned; the
// host goes on.
#include <gtest/gtest.h>

#include "host/oapi.h"
#include "sim/host.h"

#ifndef FAULTY_MODULE_PATH
#error "the tests need the path of the faulty test module"
#endif

namespace {

struct Case {
    const char* fault;      // the module's FAULT line
    const char* call;       // as the fault names it
    const char* arguments;  // null: not compared (a pointer)
    const char* craft;
    const char* reason;
};

// Loads the faulty module and one craft of it, F-1, that commits `fault`;
// the module stays loaded until the host unloads it or ends.
sim::Module& FlyFaulty(sim::Host& host, const char* fault)
{
    sim::Module& module = host.load_module(FAULTY_MODULE_PATH);
    const std::string text = "BEGIN_VESSEL F-1:Faulty\n  FAULT " + std::string(fault) + "\nEND_VESSEL\n";
    host.load_scenario(sim::parse_scenario(text, "faults.scn"), module);
    return module;
}

const Case cases[] = {
    {"animation", "SetAnimation", "7, 0.5", "F-1", "no animation of the craft has this id"},
    {"nan", "SetAnimation", nullptr, "F-1", "its second argument is not a finite number"},
    {"nan-component", "AddAnimationComponent", nullptr, "F-1", "its second argument is not a finite number"},
    {"infinite-vector", "SetPMI", nullptr, "F-1", "its first argument is not a finite number"},
    {"null-text", "AddMesh", "null, null", "F-1", "the mesh name is null"},
    {"group", "CreateThrusterGroup", nullptr, "F-1", "a member is not a thruster of the craft"},
    {"window", "EnableWindow", "0x5, 1", "", "no control of an open dialog has this handle"},
    {"scenario", "oapiReadScenario_nextline", nullptr, "", "not the scenario the host handed to clbkReadScenario"},
    {"vessel", "SetSize", "1", "", "the vessel's handle is not a craft of the host"},
    {"throw", "clbkPreStep", "", "F-1", "threw an exception: thrown by the module"},
    {"transform-twice", "AddAnimationComponent", nullptr, "F-1",
     "the transform was handed over before; each is the host's to delete once"},
};

TEST(Boundary, EachBadCallIsReportedAfterTheCallbackAndTheHostGoesOn)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        sim::Host host;
        FlyFaulty(host, c.fault);
        try {
            host.step(0.1);
            ADD_FAILURE() << "no fault reported";
        } catch (const sim::ModuleFaultError& e) {
            ASSERT_EQ(e.faults.size(), 1u) << e.what();
            const sim::ModuleFault& f = e.faults.front();
            EXPECT_EQ(f.call, c.call);
            if (c.arguments) {
                EXPECT_EQ(f.arguments, c.arguments);
            }
            EXPECT_EQ(f.craft, c.craft);
            EXPECT_EQ(f.reason, c.reason);
            EXPECT_NE(std::string(e.what()).find(f.text()), std::string::npos);
        }
        EXPECT_NO_THROW(host.step(0.1)) << "the host goes on once the fault is reported";
        EXPECT_EQ(host.all_craft().size(), 1u);
    }
}

TEST(Boundary, WhatIsSuspiciousButServedIsNotedAsAWarningNotAFault)
{
    const Case warned[] = {
        {"empty-group", "CreateThrusterGroup", nullptr, "F-1", "a thruster group with no thrusters does nothing when fired"},
        {"past-end", "oapiReadScenario_nextline", nullptr, "", "read on after the block's end was reported"},
    };
    for (const Case& c : warned) {
        SCOPED_TRACE(c.fault);
        sim::Host host;
        FlyFaulty(host, c.fault);
        EXPECT_NO_THROW(host.step(0.1));
        const std::vector<sim::ModuleFault> warnings = host.take_warnings();
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].call, c.call);
        EXPECT_EQ(warnings[0].craft, c.craft);
        EXPECT_EQ(warnings[0].reason, c.reason);
        EXPECT_TRUE(host.take_warnings().empty());
    }
}

TEST(Boundary, UnloadingClosesTheModulesDialogsAndNotesCallsItMakesOnTheWayOut)
{
    const struct {
        const char* fault;
        const char* warning;  // null: none
    } unloads[] = {
        {"open-dialog", nullptr},
        {"close-in-destroy", nullptr},
        {"unload-call", "called while the module's library unloads"},
    };
    for (const auto& c : unloads) {
        SCOPED_TRACE(c.fault);
        sim::Host host;
        sim::Module& module = FlyFaulty(host, c.fault);
        host.step(0.1);
        EXPECT_NO_THROW(host.unload_module(module));
        EXPECT_TRUE(host.dialogs().open_dialogs().empty()) << "no dialog is left calling code that is gone";
        const std::vector<sim::ModuleFault> warnings = host.take_warnings();
        if (!c.warning) {
            EXPECT_TRUE(warnings.empty());
            continue;
        }
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].call, "oapiGetSimStep");
        EXPECT_EQ(warnings[0].reason, c.warning);
    }
}

TEST(Boundary, ADialogLeftHoldingADestroyedCraftIsTheModulesFaultAndIsClosed)
{
    sim::Host host;
    FlyFaulty(host, "craft-dialog");
    host.step(0.1);
    ASSERT_EQ(host.dialogs().open_dialogs().size(), 1u);
    const HWND dialog = host.dialogs().open_dialogs()[0]->hwnd;
    try {
        host.destroy_craft(host.all_craft()[0]);
        ADD_FAILURE() << "no fault";
    } catch (const sim::ModuleFaultError& e) {
        ASSERT_EQ(e.faults.size(), 1u);
        EXPECT_EQ(e.faults[0].call, "ovcExit");
        EXPECT_EQ(e.faults[0].craft, "F-1");
        EXPECT_EQ(e.faults[0].reason.rfind("its dialog 1, opened in clbkPreStep of F-1, holds the destroyed craft", 0), 0u)
            << e.faults[0].reason;
    }
    EXPECT_FALSE(host.dialogs().click(dialog, IDCANCEL)) << "a click reaches nothing";
}

TEST(Boundary, ACallWithNoHostRunningBelongsToNoLaterHost)
{
    sim::take_hostless_faults();
    for (int i = 0; i < 70; ++i) EXPECT_EQ(oapiGetSimStep(), 0.0);
    {
        sim::Host host;
        EXPECT_NO_THROW(host.step(0.1)) << "a later host did not see it happen";
    }
    std::size_t lost = 0;
    const std::vector<sim::ModuleFault> faults = sim::take_hostless_faults(&lost);
    ASSERT_EQ(faults.size(), 64u);
    EXPECT_EQ(lost, 6u) << "kept up to a bound, the rest counted";
    EXPECT_EQ(faults[0].text(), "oapiGetSimStep(): no host is running");
    EXPECT_TRUE(sim::take_hostless_faults().empty());
}

}  // namespace
