// When the host calls what: a craft that traces its callbacks is loaded,
// flown, focused, drawn and destroyed, and the trace is the order the
// callback interface promises.
#include <gtest/gtest.h>

#include <string>

#include "sim/host.h"
#include "sim/scenario_file.h"

namespace {

class Callbacks : public ::testing::Test {
protected:
    std::string Trace() { return reinterpret_cast<const char* (*)()>(tracer.symbol("TakeTrace"))(); }

    sim::Host host;
    sim::Module& tracer = host.load_module(TRACER_MODULE_PATH);
};

TEST_F(Callbacks, ComeInTheDocumentedOrder)
{
    const std::string two = "BEGIN_SCENARIO\n  TIME 0\nEND_SCENARIO\n"
                            "BEGIN_VESSEL A:Tracer\n  POS 0 0 0\nEND_VESSEL\n"
                            "BEGIN_VESSEL B:Tracer\n  POS 1 0 0\nEND_VESSEL\n";
    const auto loaded = host.load_scenario(sim::parse_scenario(two, "two.scn"), tracer);
    const sim::Craft a = loaded[0], b = loaded[1];
    EXPECT_EQ(Trace(), "1:DefineClass 1:ReadScenario 2:DefineClass 2:ReadScenario 1:PostCreation 2:PostCreation "
                       "1:FocusChanged(1,1,0)");
    EXPECT_EQ(host.focus().record(), a.record());

    host.step(0.1);
    EXPECT_EQ(Trace(), "1:PreStep 2:PreStep 1:AfterStep 2:AfterStep 1:Animate 2:Animate");
    // A key held across a step reaches the focus craft, whichever craft its events went to.
    host.key_event(b, OAPI_KEY_L, true, sim::keyboard_state({OAPI_KEY_L}));
    host.step(0.1);
    host.key_event(b, OAPI_KEY_L, false, sim::keyboard_state({}));
    host.step(0.1);
    EXPECT_EQ(Trace(), "2:KeyDown 1:ConsumeDirectKey(1) 1:PreStep 2:PreStep 1:AfterStep 2:AfterStep 1:Animate 2:Animate "
                       "2:KeyUp 1:PreStep 2:PreStep 1:AfterStep 2:AfterStep 1:Animate 2:Animate");

    host.set_focus(b);
    host.set_focus(b);
    EXPECT_EQ(Trace(), "1:FocusChanged(0,2,1) 2:FocusChanged(1,2,1)");

    host.create_visual(a);
    host.create_visual(a);
    host.destroy_visual(a);
    host.destroy_visual(a);
    host.create_visual(b);
    host.animate();
    EXPECT_EQ(Trace(), "1:VisualCreated(1) 1:VisualDestroyed 2:VisualCreated(1) 1:Animate 2:Animate");

    // The focus leaves a craft before it goes, and so does its view.
    host.destroy_craft(b);
    EXPECT_EQ(Trace(), "2:FocusChanged(0,1,2) 1:FocusChanged(1,1,2) 2:VisualDestroyed 2:Exit");
    EXPECT_EQ(host.focus().record(), a.record());

    host.create_craft(tracer, "C");
    EXPECT_EQ(Trace(), "3:DefineClass 3:PostCreation");
    host.destroy_craft(a);
    host.destroy_craft(host.find_craft("C"));
    EXPECT_EQ(Trace(), "1:FocusChanged(0,3,1) 3:FocusChanged(1,3,1) 1:Exit 3:FocusChanged(0,0,3) 3:Exit");
    EXPECT_FALSE(host.focus());

    // With no focus held, the next craft made takes it.
    host.create_craft(tracer, "D");
    EXPECT_EQ(Trace(), "4:DefineClass 4:PostCreation 4:FocusChanged(1,4,0)");
}

TEST_F(Callbacks, FocusAndViewsRefuseCraftTheHostDoesNotHold)
{
    const sim::Craft a = host.create_craft(tracer, "A");
    host.destroy_craft(a);
    EXPECT_THROW(host.set_focus(a), std::logic_error);
    EXPECT_THROW(host.create_visual(a), std::logic_error);
    EXPECT_THROW(host.destroy_visual(a), std::logic_error);
}

}  // namespace
