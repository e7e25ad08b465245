// Loading, unloading and the module-wide values, through the loader.
#include <gtest/gtest.h>

#include <cstring>

#include "support/module_fixture.h"
#include "core/host_access.h"
#include "loading/module_entry_points.h"
#include "host/oapi.h"
#include "sim/keyboard.h"

namespace {
std::uintptr_t Addr(HINSTANCE h) { return reinterpret_cast<std::uintptr_t>(h); }

TEST_F(ModuleTest, LoadCallsInitLibOnceWithTheInstanceHandle)
{
    auto calls = host->log().named("InitLib");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].numbers[0], double(Addr(module->instance())));
    EXPECT_NE(module->instance(), nullptr);
}

TEST_F(ModuleTest, UnloadCallsNoExitFunctionAndReloadStartsAfresh)
{
    host->unload_module(*module);
    EXPECT_EQ(host->log().count("ExitModule") + host->log().count("opcDLLExit"), 0u);
    // A second load attaches again, so the first unload really let go of it.
    sim::Module& again = host->load_module(MERVEX_MODULE_PATH);
    EXPECT_EQ(host->log().count("InitLib"), 2u);
    host->module_version(again);
    EXPECT_EQ(host->log().count("Date2Int"), 1u);
}

TEST_F(ModuleTest, GetProcAddressSeesOnlyTheLibrarysOwnExports)
{
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module->instance(), "ovcInit")), module->symbol("ovcInit"));
    EXPECT_EQ(GetProcAddress(module->instance(), "ExitModule"), nullptr);
    EXPECT_EQ(GetProcAddress(module->instance(), "opcDLLExit"), nullptr);
    // Exported by the host library the module depends on, not by the module.
    EXPECT_EQ(GetProcAddress(module->instance(), "oapiGetSimStep"), nullptr);
    EXPECT_EQ(GetProcAddress(module->instance(), "clbkAfterStep"), nullptr);
}

TEST_F(ModuleTest, VersionComesFromTheHostOnceAndIsKept)
{
    const std::optional<int> v = host->module_version(*module);
    EXPECT_EQ(v, 20100830);
    EXPECT_EQ(host->module_version(*module), v);
    EXPECT_EQ(host->module_version(*module), v);
    auto calls = host->log().named("Date2Int");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, "Aug 30 2010");
}

TEST_F(ModuleTest, VersionThatTheHostCannotGiveIsAskedForAgain)
{
    sim::host_access::test_faults()->date2int_returns_zero = true;
    EXPECT_EQ(host->module_version(*module), 0);
    EXPECT_EQ(host->module_version(*module), 0);
    EXPECT_EQ(host->log().count("Date2Int"), 2u);
    sim::host_access::test_faults()->date2int_returns_zero = false;
    EXPECT_EQ(host->module_version(*module), 20100830);
    EXPECT_EQ(host->module_version(*module), 20100830);
    EXPECT_EQ(host->log().count("Date2Int"), 3u);
}

TEST_F(ModuleTest, ModuleDateIsTheConfiguredBuildDateAtOneAddress)
{
    const auto date = sim::ModuleEntryPoints::module_date(*module);
    const char* d = date();
    EXPECT_STREQ(d, "Jan 18 2014");
    EXPECT_EQ(date(), d);
    EXPECT_EQ(host->module_date(*module), "Jan 18 2014");
}

TEST_F(ModuleTest, OvcExitIgnoresNull)
{
    const sim::Craft craft = NewVessel();
    host->log().clear();
    sim::ModuleEntryPoints::ovc_exit(*module)(nullptr);
    EXPECT_TRUE(host->log().calls().empty()) << "a null craft is no call into the host";
    // The live craft is untouched: it still steps and writes its block.
    host->step(0.1);
    EXPECT_NE(host->scenario_text().find("ARRAYS"), std::string::npos);
    host->destroy_craft(craft);
}

TEST(CallLog, OnlyAHostMadeToKeepTheLogKeepsCalls)
{
    for (const sim::CallLogging logging : {sim::CallLogging::off, sim::CallLogging::on}) {
        sim::Host host(logging);
        const sim::Craft craft = host.create_craft(host.load_module(MERVEX_MODULE_PATH), "Mervex-1");
        for (int i = 0; i < 3; ++i) host.step(0.1);
        host.key_press(craft, OAPI_KEY_K);
        EXPECT_EQ(host.log().calls().empty(), logging == sim::CallLogging::off);
    }
}

TEST_F(ModuleTest, VesselCrossesAsItsVesselBase)
{
    const sim::Craft r = NewVessel();
    // The host gets the VESSEL base, which need not be the object's address;
    // the callbacks are reached through the VESSEL2 the object announced.
    EXPECT_EQ(static_cast<VESSEL*>(r.callbacks()), r.object());
    EXPECT_NE(static_cast<void*>(r.callbacks()), static_cast<void*>(r.object()));
    EXPECT_EQ(r.object()->GetHandle(), r.handle());
}

struct ExitHookCase {
    const char* library;
    const char* expected;
};

void PrintTo(const ExitHookCase& c, std::ostream* os) { *os << c.expected; }

class ExitHookTest : public ::testing::TestWithParam<ExitHookCase> {};

TEST_P(ExitHookTest, DetachCallsTheExportedExitFunctionOnce)
{
    sim::Host host(sim::CallLogging::on);
    sim::Module& m = host.load_module(GetParam().library);
    const double instance = double(Addr(m.instance()));
    host.unload_module(m);
    auto hook = host.log().named(GetParam().expected);
    ASSERT_EQ(hook.size(), 1u);
    EXPECT_EQ(hook[0].numbers[0], instance);
    EXPECT_EQ(host.log().count("ExitModule") + host.log().count("opcDLLExit"), 1u) << "only one of the two is called";
}

INSTANTIATE_TEST_SUITE_P(Variants, ExitHookTest,
                         ::testing::Values(ExitHookCase{MERVEX_BOTH_HOOKS_PATH, "ExitModule"},
                                           ExitHookCase{MERVEX_LEGACY_HOOK_PATH, "opcDLLExit"}),
                         [](const ::testing::TestParamInfo<ExitHookCase>& p) { return std::string(p.param.expected); });

TEST(DateText, ReadsTheHostsDateForm)
{
    EXPECT_EQ(Date2Int("Aug 30 2010"), 20100830);
    EXPECT_EQ(Date2Int("Jan 18 2014"), 20140118);
    EXPECT_EQ(Date2Int("Feb  8 2014"), 20140208) << "the compiler's padded day";
    EXPECT_EQ(Date2Int("Feb 29 2012"), 20120229);
    EXPECT_GT(Date2Int("Jan 1 2011"), Date2Int("Dec 31 2010"));
    for (const char* bad : {"", "Aug 30", "aug 30 2010", "Aug 32 2010", "Feb 29 2013", "Aug 0 2010",
                            "Aug 30 10", "Aug 30 2010x", "Aug30 2010", "30 Aug 2010"})
        EXPECT_EQ(Date2Int(bad), 0) << bad;
    EXPECT_EQ(Date2Int(nullptr), 0);
}
}  // namespace
