// Scenario files cross between the platforms: a file the native build saved
// loads under Windows, and what Windows saves of it is the same bytes, so
// the native build reads it back as its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "win_fixture.h"

namespace {
std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WinScenarioExchangeTest : public WinModuleTest {
protected:
    const std::string linux_file = MERVEX_LINUX_SCENARIO;
    const std::string out = MERVEX_WINDOWS_SCENARIO;
};

TEST_F(WinScenarioExchangeTest, LinuxFileLoadsAndSavesBackByteForByte)
{
    const std::string original = Bytes(linux_file);
    ASSERT_FALSE(original.empty()) << linux_file;
    const auto craft = host->load_scenario(sim::read_scenario_file(linux_file), *module);
    ASSERT_EQ(craft.size(), 2u);
    EXPECT_FLOAT_EQ(craft[0].animation_states().at(0), 0.4f);
    EXPECT_EQ(host->sim_time(), 12.5);

    std::remove(out.c_str());
    host->save_scenario(out);
    const std::string saved = Bytes(out);
    EXPECT_EQ(saved.find('\r'), std::string::npos) << "line ends stay as the native build writes them";
    EXPECT_EQ(saved, original);
}

TEST_F(WinScenarioExchangeTest, SavingOverAnExistingFileReplacesIt)
{
    NewVessel();
    host->save_scenario(out);
    host->key_press(host->find_craft("Mervex-1"), OAPI_KEY_L, {OAPI_KEY_LSHIFT});
    host->save_scenario(out);
    EXPECT_NE(Bytes(out).find("NAVLIGHTS"), std::string::npos);
    std::ifstream tmp(out + ".tmp");
    EXPECT_FALSE(tmp.good()) << "no temporary file left behind";
}
}  // namespace
