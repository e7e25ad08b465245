// Loading Mervex.dll with the Windows loader: the entry routine's work, the
// exports, and the module's dates.
#include <gtest/gtest.h>

#include "host/oapi.h"
#include "loading/module_entry_points.h"
#include "win_fixture.h"

namespace {
using WinLifecycleTest = WinModuleTest;

TEST_F(WinLifecycleTest, LoadingCallsInitLibOnceWithTheDllsInstance)
{
    const auto calls = host->log().named("InitLib");
    ASSERT_EQ(calls.size(), 1u);
    const HMODULE loaded = GetModuleHandleA("Mervex.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(calls[0].numbers.at(0), double(reinterpret_cast<std::uintptr_t>(loaded)));
    EXPECT_EQ(module->instance(), loaded);
    // InitModule came after: the instance it got names the module's dialog.
    EXPECT_EQ(host->log().names().front(), "InitLib");
}

TEST_F(WinLifecycleTest, NoExitFunctionIsExported)
{
    EXPECT_EQ(GetProcAddress(module->instance(), "ExitModule"), nullptr);
    EXPECT_EQ(GetProcAddress(module->instance(), "opcDLLExit"), nullptr);
    for (const char* name : {"InitModule", "ovcInit", "ovcExit", "ModuleDate", "GetModuleVersion"})
        EXPECT_NE(GetProcAddress(module->instance(), name), nullptr) << name;
}

TEST_F(WinLifecycleTest, UnloadingLeavesTheProcessWithoutTheDll)
{
    host->log().clear();
    host->unload_module(*module);
    EXPECT_EQ(GetModuleHandleA("Mervex.dll"), nullptr);
    EXPECT_EQ(host->log().count("InitLib"), 0u);
}

TEST_F(WinLifecycleTest, DatesAndVersion)
{
    EXPECT_EQ(host->module_date(*module), "Jan 18 2014");
    EXPECT_EQ(host->module_date(*module), "Jan 18 2014");
    host->log().clear();
    EXPECT_EQ(host->module_version(*module), 20100830);
    EXPECT_EQ(host->module_version(*module), 20100830);
    const auto asked = host->log().named("Date2Int");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Aug 30 2010");
}

TEST_F(WinLifecycleTest, OvcExitIgnoresNull)
{
    sim::ModuleEntryPoints::ovc_exit(*module)(nullptr);
    EXPECT_NE(NewVessel().object(), nullptr);
}
}  // namespace
