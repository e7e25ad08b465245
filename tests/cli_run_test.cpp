// simhost-run end to end: the built program on real scenario files, judged
// by the scenario it saves, its JSON telemetry and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "sim/scenario_file.h"

namespace fs = std::filesystem;

namespace {

const std::string scenarios = SIMHOST_SCENARIOS;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string Read(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("simhost_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Result Run(const std::string& args)
    {
        const std::string cmd = std::string("'") + SIMHOST_RUN_PATH + "' " + args + " > '" + (dir / "stdout").string() +
                                "' 2> '" + (dir / "stderr").string() + "'";
        const int raw = std::system(cmd.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Read(dir / "stdout");
        r.err = Read(dir / "stderr");
        return r;
    }

    // The saved lines of each craft, by craft name.
    std::map<std::string, std::vector<std::string>> Blocks(const fs::path& file)
    {
        std::map<std::string, std::vector<std::string>> out;
        for (const sim::ScenarioVessel& v : sim::read_scenario_file(file.string()).vessels)
            for (const sim::ScenarioLine& l : v.lines) out[v.name].push_back(l.text);
        return out;
    }

    static std::string Line(const std::vector<std::string>& lines, const std::string& key)
    {
        for (const std::string& l : lines)
            if (l.rfind(key, 0) == 0) return l;
        return "";
    }

    std::string Out(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    fs::path dir;
};

TEST_F(CliRun, KeyKAtZeroDeploysTheArraysInTwentySeconds)
{
    // 0.3125 s steps lower the module's 32-bit state by exactly 1/64 each.
    const Result r = Run(scenarios + "/stowed.scn --at 0:key:K -d 20 --step 0.3125 --no-pictures -q -o " + Out("o") +
                         " --json " + Out("t.json"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "o/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0");

    const std::string json = Read(dir / "t.json");
    size_t samples = 0;
    for (size_t at = 0; (at = json.find("{\"t\":", at)) != std::string::npos; ++at) ++samples;
    EXPECT_EQ(samples, 65u) << "the start and one sample per step";
    EXPECT_NE(json.find("\"events\":[\"t=0 s: key K to Mervex-1 (consumed)\"]"), std::string::npos) << json.substr(json.size() - 300);
    EXPECT_NE(json.find("final.scn"), std::string::npos);

    // With 0.1 s steps the 32-bit state keeps a rounding residue at 20 s and
    // reaches 0 on the next step.
    const Result fine = Run(scenarios + "/stowed.scn --at 0:key:K -d 20.1 --no-pictures -q -o " + Out("fine"));
    ASSERT_EQ(fine.status, 0) << fine.err;
    EXPECT_EQ(Line(Blocks(dir / "fine/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0");
}

TEST_F(CliRun, SaveAndReloadKeepEverySavedFieldAndTheStateVector)
{
    Result r = Run(scenarios + "/two_craft.scn -d 12 --step 0.1,0.5,2 -w 2 --no-pictures -q -o " + Out("a") +
                   " --at 0:key:Shift+L --at 1:thrust:main=1:for=5@Mervex-2 --at 2:thrust:bank-left=1:for=1@Mervex-2"
                   " --at 3:key:K@Mervex-1 --at 4:thrust:translate-down=1:for=2");
    ASSERT_EQ(r.status, 0) << r.err;
    r = Run(Out("a/final.scn") + " -d 0 --no-pictures -q -o " + Out("b"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto first = Blocks(dir / "a/final.scn"), second = Blocks(dir / "b/final.scn");
    EXPECT_EQ(first, second);
    // The run did move things, so the comparison means something.
    EXPECT_NE(Line(first.at("Mervex-2"), "VEL"), "VEL 0 0 0");
    EXPECT_NE(Line(first.at("Mervex-2"), "AROT"), "AROT 0 0 0");
    EXPECT_NE(Line(first.at("Mervex-1"), "VEL"), "VEL 0 0 0");
    EXPECT_EQ(Line(first.at("Mervex-1"), "NAVLIGHTS"), "NAVLIGHTS");
    EXPECT_EQ(Line(first.at("Mervex-1"), "PAYLOAD_MASS"), "PAYLOAD_MASS 0.0000");
    EXPECT_EQ(Line(first.at("Mervex-2"), "PAYLOAD_MASS"), "PAYLOAD_MASS 500.0000");
    EXPECT_EQ(Line(first.at("Mervex-2"), "ARRAYS"), "ARRAYS 0");
    EXPECT_NE(Read(dir / "a/final.scn").find("TIME 12\n"), std::string::npos) << "the duration is simulated time";
}

TEST_F(CliRun, AHalfDeployedCraftStandsStillUntilCommandedThenFinishes)
{
    Result r = Run(scenarios + "/half_deployed.scn -d 8 --no-pictures -q -o " + Out("hold"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "hold/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0.5");

    // Steps of 0.3125 s lower the state by exactly 1/64 each.
    r = Run(Out("hold/final.scn") + " --at 1:key:K -d 6 --step 0.3125 --no-pictures -q -o " + Out("part"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "part/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0.25");

    // The reload forgets the command: without a new one the state holds.
    r = Run(Out("part/final.scn") + " -d 3 --no-pictures -q -o " + Out("still"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "still/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0.25");

    // A fresh command carries on from 0.25.
    r = Run(Out("still/final.scn") + " --at 0:key:K -d 4.375 --step 0.3125 --no-pictures -q -o " + Out("almost"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "almost/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0.03125");
    r = Run(Out("almost/final.scn") + " --at 0:key:K -d 1 --no-pictures -q -o " + Out("done"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "done/final.scn")["Mervex-1"], "ARRAYS"), "ARRAYS 0");
}

TEST_F(CliRun, RefuelKeyAndPicturesOfAnOpenDialog)
{
    const Result r = Run(scenarios + "/two_craft.scn -t " + scenarios + "/two_craft.timeline -d 35 -o " + Out("o"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto blocks = Blocks(dir / "o/final.scn");
    // 5 s at full main thrust after the refuel to 500 kg.
    const double left = 500 - 5 * 440 / 2344.59;
    std::istringstream prop(Line(blocks.at("Mervex-2"), "PROPELLANT").substr(11));
    double tank = 0, mass = 0;
    prop >> tank >> mass;
    EXPECT_NEAR(mass, left, 1e-6);
    EXPECT_EQ(Line(blocks.at("Mervex-1"), "DIALOG"), "DIALOG");
    for (const char* p : {"top_view.svg", "deployment.svg", "telemetry.svg", "dialog.svg"}) {
        SCOPED_TRACE(p);
        const std::string svg = Read(dir / "o" / p);
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        EXPECT_NE(svg.find("</svg>"), std::string::npos);
    }
    EXPECT_NE(Read(dir / "o/top_view.svg").find("Mervex-2"), std::string::npos);
    EXPECT_NE(r.out.find("Mervex-2 (Mervex)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("saved:"), std::string::npos);
}

TEST_F(CliRun, BadInputGivesNonZeroStatusAndOneLineReason)
{
    std::ofstream(dir / "bad.scn") << "BEGIN_VESSEL Mervex-1:Mervex\n  ARRAYS 1\n  POS 1 2\nEND_VESSEL\n";
    std::ofstream(dir / "bad.timeline") << "0 key K\n2 thrust main=7\n";
    const std::string stowed = scenarios + "/stowed.scn -q -o " + Out("o");
    const std::pair<std::string, std::string> cases[] = {
        {stowed + " --frobnicate", "unknown option --frobnicate"},
        {Out("missing.scn") + " -q", "missing.scn: cannot open"},
        {Out("bad.scn") + " -q -o " + Out("o"), "bad.scn:3: expected three numbers: POS 1 2"},
        {stowed + " --module " + Out("bad.scn"), "bad.scn"},
        {stowed + " -t " + Out("bad.timeline"), "bad.timeline:2: "},
        {stowed + " --at 1:key:K@Nobody", "no craft named \"Nobody\""},
        {stowed + " --step 0", "--step"},
        {stowed + " --at 1:thrust:retro=1", "has no thruster group retro"},
    };
    for (const auto& [args, reason] : cases) {
        SCOPED_TRACE(args);
        const Result r = Run(args);
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err.rfind("simhost-run: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_FALSE(fs::exists(dir / "o/final.scn"));
    }
}

TEST_F(CliRun, HelpExplainsTheProgram)
{
    const Result r = Run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* part : {"Usage: simhost-run", "--duration", "--step", "--warp", "--at", "--timeline", "--json",
                             "Shift+L", "translate-down", "DEPLOY"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

}  // namespace
