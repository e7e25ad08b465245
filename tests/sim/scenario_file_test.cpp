// The host's scenario files: reading the format, refusing what it cannot
// place, and saving without ever leaving a half-written file.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "probe_fixture.h"
#include "sim/module_folder.h"
#include "support/read_file.h"

namespace {

std::string ErrorOf(const std::string& text)
{
    try {
        sim::parse_scenario(text, "f.scn");
    } catch (const sim::ScenarioError& e) {
        return e.what();
    }
    return "(parsed)";
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

TEST(ScenarioFile, ReadsHeaderBlocksAndLinePositions)
{
    const sim::Scenario s = sim::parse_scenario(
        "# a test\n"
        "\n"
        "BEGIN_SCENARIO\n"
        "  TIME 12.5\r\n"
        "END_SCENARIO\n"
        "BEGIN_VESSEL A-1:Probe\n"
        "\tPOS 1 2 3  \n"
        "  # a note\n"
        "  ARRAYS  0.5\n"
        "END_VESSEL\n"
        "BEGIN_VESSEL B:Probe\n"
        "END_VESSEL",
        "f.scn");
    EXPECT_EQ(s.file, "f.scn");
    EXPECT_EQ(s.time, 12.5);
    ASSERT_EQ(s.vessels.size(), 2u);
    EXPECT_EQ(s.vessels[0].name, "A-1");
    EXPECT_EQ(s.vessels[0].class_name, "Probe");
    EXPECT_EQ(s.vessels[0].line_no, 6);
    ASSERT_EQ(s.vessels[0].lines.size(), 2u);
    EXPECT_EQ(s.vessels[0].lines[0].text, "POS 1 2 3");
    EXPECT_EQ(s.vessels[0].lines[0].line_no, 7);
    EXPECT_EQ(s.vessels[0].lines[1].text, "ARRAYS  0.5");
    EXPECT_EQ(s.vessels[0].lines[1].line_no, 9);
    EXPECT_TRUE(s.vessels[1].lines.empty());
    EXPECT_EQ(sim::parse_scenario("", "e").vessels.size(), 0u);
}

TEST(ScenarioFile, EveryMalformedFileIsRefusedWithItsPlace)
{
    EXPECT_EQ(ErrorOf("POS 1 2 3\n"), "f.scn:1: line outside any block: POS 1 2 3");
    EXPECT_EQ(ErrorOf("BEGIN_VESSEL A:Probe\nPOS 1 2 3\n"),
              "f.scn:1: vessel block not closed at end of file: BEGIN_VESSEL A:Probe");
    EXPECT_EQ(ErrorOf("\nBEGIN_VESSEL A:Probe\nBEGIN_VESSEL B:Probe\n"),
              "f.scn:2: vessel block not closed before: BEGIN_VESSEL A:Probe / BEGIN_VESSEL B:Probe");
    EXPECT_EQ(ErrorOf("BEGIN_VESSEL A\nEND_VESSEL\n"), "f.scn:1: expected BEGIN_VESSEL NAME:CLASS: BEGIN_VESSEL A");
    EXPECT_EQ(ErrorOf("BEGIN_VESSEL :Probe\n"), "f.scn:1: expected BEGIN_VESSEL NAME:CLASS: BEGIN_VESSEL :Probe");
    EXPECT_EQ(ErrorOf("BEGIN_VESSEL A B:Probe\n"), "f.scn:1: expected BEGIN_VESSEL NAME:CLASS: BEGIN_VESSEL A B:Probe");
    EXPECT_EQ(ErrorOf("BEGIN_VESSEL A:M\nEND_VESSEL\nBEGIN_VESSEL A:M\nEND_VESSEL\n"),
              "f.scn:3: a vessel of this name exists already: BEGIN_VESSEL A:M");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nTIME soon\nEND_SCENARIO\n"),
              "f.scn:2: expected one finite number of seconds: TIME soon");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nTIME 1e999\nEND_SCENARIO\n"),
              "f.scn:2: expected one finite number of seconds: TIME 1e999");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nTIME 1 2\nEND_SCENARIO\n"),
              "f.scn:2: expected one finite number of seconds: TIME 1 2");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nTIME 1\nTIME 2\nEND_SCENARIO\n"), "f.scn:3: TIME given twice: TIME 2");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nDATE 1\nEND_SCENARIO\n"), "f.scn:2: unknown header line: DATE 1");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\nEND_SCENARIO\nBEGIN_SCENARIO\nEND_SCENARIO\n"),
              "f.scn:3: second scenario header: BEGIN_SCENARIO");
    EXPECT_EQ(ErrorOf("BEGIN_SCENARIO\n"), "f.scn:1: scenario header not closed at end of file: BEGIN_SCENARIO");
    EXPECT_EQ(ErrorOf(std::string("BEGIN_VESSEL A:M\nARRAYS 0\0.5\nEND_VESSEL\n", 40)),
              "f.scn:2: line holds a NUL byte: ARRAYS 0\\0.5");
}

TEST(ScenarioFile, AMissingFileIsReportedByName)
{
    try {
        sim::read_scenario_file("/nonexistent/dir/x.scn");
        FAIL();
    } catch (const sim::ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/dir/x.scn: cannot open: No such file or directory");
    }
}

TEST(ScenarioFile, WritesOnlyWhatReadsBackTheSame)
{
    sim::ScenarioText t;
    t.time = 0.1 + 0.2;
    t.blocks.push_back({"A", "Probe", {{"POS 1 2 3", true}, {"ARRAYS 0.5"}}});
    const sim::Scenario back = sim::parse_scenario(sim::format_scenario(t), "x");
    EXPECT_EQ(back.time, 0.1 + 0.2);
    ASSERT_EQ(back.vessels.size(), 1u);
    EXPECT_EQ(back.vessels[0].lines[1].text, "ARRAYS 0.5");

    for (const std::string& bad : std::vector<std::string>{"", " lead", "trail ", "#hash", "two\nlines", "END_VESSEL", "BEGIN_VESSEL X:Y",
                                  std::string("nul\0byte", 8)}) {
        sim::ScenarioText b;
        b.blocks.push_back({"A", "Probe", {{bad}}});
        EXPECT_THROW(sim::format_scenario(b), std::invalid_argument) << bad;
    }
    for (const char* name : {"", "with space", "a:b"}) {
        sim::ScenarioText b;
        b.blocks.push_back({name, "Probe", {}});
        EXPECT_THROW(sim::format_scenario(b), std::invalid_argument) << name;
    }
}

class ScenarioLoadTest : public ProbeTest {
protected:
    std::string LoadError(const std::string& text)
    {
        try {
            host.load_scenario(sim::parse_scenario(text, "s.scn"), probe);
        } catch (const sim::ScenarioError& e) {
            return e.what();
        }
        return "(loaded)";
    }

    void SetUp() override
    {
        char tmpl[] = "/tmp/mervex-scenario-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override
    {
        std::error_code ignored;  // a folder left behind in /tmp fails no test
        std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
};

TEST_F(ScenarioLoadTest, RefusesAnotherClassOrATakenNameAndLoadsNothing)
{
    EXPECT_EQ(LoadError("BEGIN_VESSEL A:Probe\nEND_VESSEL\nBEGIN_VESSEL B:DeltaGlider\nEND_VESSEL\n"),
              "s.scn:3: the module " + probe.path() + " defines the class Probe: BEGIN_VESSEL B:DeltaGlider");
    EXPECT_TRUE(host.all_craft().empty());
    NewProbe("Taken");
    EXPECT_EQ(LoadError("BEGIN_VESSEL Taken:Probe\nEND_VESSEL\n"),
              "s.scn:1: a vessel of this name exists already: BEGIN_VESSEL Taken:Probe");
    EXPECT_EQ(host.all_craft().size(), 1u);
}

TEST_F(ScenarioLoadTest, AFailedLoadListsEveryBadLineAndLeavesTheHostAsItWas)
{
    host.set_sim_time(5);
    const std::string err = LoadError(
        "BEGIN_SCENARIO\nTIME 100\nEND_SCENARIO\n"
        "BEGIN_VESSEL A:Probe\n  PROPELLANT 0 900\nEND_VESSEL\n"
        "BEGIN_VESSEL B:Probe\n  DRY_MASS 300\n  THRUST 1\nEND_VESSEL\n");
    EXPECT_EQ(err, "s.scn:5: propellant mass outside 0 to the tank's capacity: PROPELLANT 0 900\n"
                   "s.scn:9: unknown line: THRUST 1");
    EXPECT_TRUE(host.all_craft().empty());
    EXPECT_EQ(host.sim_time(), 5.0);
}

TEST_F(ScenarioLoadTest, EachClassComesFromItsModuleLoadedOnceAndAFailedLoadUnloadsIt)
{
    std::vector<std::string> asked;
    const sim::Host::ModuleLocator locate = [&](const std::string& class_name) {
        asked.push_back(class_name);
        return sim::module_file(PROBE_MODULES_DIR, class_name);
    };
    const std::string craft = "BEGIN_VESSEL T1:Twin\nDRY_MASS 500\nEND_VESSEL\n"
                              "BEGIN_VESSEL P:Probe\nEND_VESSEL\nBEGIN_VESSEL T2:Twin\nEND_VESSEL\n";
    try {
        host.load_scenario(sim::parse_scenario(craft + "BEGIN_VESSEL T3:Twin\nDRY_MASS -1\nEND_VESSEL\n", "s.scn"), locate);
        FAIL() << "loaded";
    } catch (const sim::ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()), "s.scn:9: unknown line: DRY_MASS -1");
    }
    EXPECT_TRUE(host.all_craft().empty());
    EXPECT_EQ(host.modules().size(), 1u) << "the Twin module loaded for the failed scenario is gone again";

    asked.clear();
    const auto made = host.load_scenario(sim::parse_scenario(craft, "s.scn"), locate);
    EXPECT_EQ(asked, std::vector<std::string>{"Twin"}) << "Probe is loaded already; Twin once for both twins";
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(&made[0].module(), &made[2].module());
    EXPECT_EQ(&made[1].module(), &probe);
    EXPECT_EQ(made[0].mass(), 500 + 400.0);
    EXPECT_EQ(made[2].mass(), 600 + 400.0);

    // Class names come from files: none may name a file outside the folder.
    for (const char* name : {"../Twin", "/tmp/Twin", ".Twin", "", "Twin\n", "Nowhere"})
        EXPECT_THROW(sim::module_file(PROBE_MODULES_DIR, name), sim::LoadError) << name;
}

TEST_F(ScenarioLoadTest, LoadSetsTheClockAndReadsEachBlock)
{
    const auto made = host.load_scenario(
        sim::parse_scenario("BEGIN_SCENARIO\nTIME 42\nEND_SCENARIO\n"
                            "BEGIN_VESSEL A:Probe\nPOS 1 0 0\nEND_VESSEL\nBEGIN_VESSEL B:Probe\nPOS 2 0 0\nEND_VESSEL\n",
                            "s.scn"),
        probe);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].name(), "A");
    EXPECT_EQ(made[1].body().pos.x, 2.0);
    EXPECT_EQ(host.sim_time(), 42.0);
}

TEST_F(ScenarioLoadTest, SaveReplacesTheFileWholeAndReadsBack)
{
    const std::string path = dir + "/s.scn";
    WriteFile(path, "old\n");
    host.load_scenario(sim::parse_scenario("BEGIN_VESSEL P-1:Probe\nDRY_MASS 250\nEND_VESSEL\n", "s.scn"), probe);
    host.set_sim_time(7.25);
    host.save_scenario(path);
    EXPECT_EQ(read_file(path), host.scenario_text());
    EXPECT_FALSE(Exists(path + ".tmp"));
    const sim::Scenario back = sim::read_scenario_file(path);
    EXPECT_EQ(back.time, 7.25);
    ASSERT_EQ(back.vessels.size(), 1u);
    EXPECT_EQ(back.vessels[0].lines.back().text, "DRY_MASS 250") << "the craft's own line, as it read it";
}

TEST_F(ScenarioLoadTest, AFailedSaveLeavesThePreviousFileAndSaysWhy)
{
    NewProbe();
    const std::string path = dir + "/s.scn";
    WriteFile(path, "previous\n");
    // A disk that holds no more than 16 bytes of any file.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit tiny = old;
    tiny.rlim_cur = 16;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    std::string error = "(saved)";
    try {
        host.save_scenario(path);
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(error, "cannot write " + path + ": File too large");
    EXPECT_EQ(read_file(path), "previous\n");

    // A directory in place of the file, a missing folder; nothing is left behind.
    const std::string as_dir = dir + "/d.scn";
    ASSERT_EQ(::mkdir(as_dir.c_str(), 0700), 0);
    EXPECT_THROW(host.save_scenario(as_dir), std::runtime_error);
    EXPECT_THROW(host.save_scenario(dir + "/no/such/dir.scn"), std::runtime_error);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"d.scn", "s.scn"}));
}

}  // namespace
