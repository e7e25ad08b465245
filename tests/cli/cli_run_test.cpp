// simhost-run end to end: the built program on real scenario files, judged
// by the scenario it saves, its JSON telemetry and its exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "sim/scenario_file.h"
#include "util/text_lines.h"
#include "util/utf8.h"
#include "support/read_file.h"

namespace fs = std::filesystem;

namespace {

const std::string scenarios = SIMHOST_SCENARIOS;

struct Result {
    int status = -1;
    std::string out, err;
};

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The process id keeps two runs of the suite at once (native and
        // sanitizer builds, several checkouts) out of each other's files.
        dir = fs::temp_directory_path() /
              ("simhost_cli_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // `shell` goes before the program, e.g. limits to set.
    Result Run(const std::string& args, const std::string& shell = "")
    {
        const std::string cmd = shell + std::string("'") + SIMHOST_RUN_PATH + "' " + args + " > '" +
                                (dir / "stdout").string() + "' 2> '" + (dir / "stderr").string() + "'";
        const int raw = std::system(cmd.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = read_file(dir / "stdout");
        r.err = read_file(dir / "stderr");
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

    const std::string json = read_file(dir / "t.json");
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

TEST_F(CliRun, KeysWithoutACraftGoToTheCraftWithTheFocus)
{
    const Result r = Run(scenarios + "/two_craft.scn --at 1:focus:Mervex-2 --at 1:key:K -d 2 --no-pictures -q -o " +
                         Out("o") + " --json " + Out("t.json"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string json = read_file(dir / "t.json");
    EXPECT_NE(json.find("\"t=1 s: focus to Mervex-2\",\"t=1 s: key K to Mervex-2"), std::string::npos) << json;
    const Result nobody = Run(scenarios + "/two_craft.scn --at 1:focus:Nobody -d 2 -q --no-pictures -o " + Out("n"));
    EXPECT_EQ(nobody.status, 1);
    EXPECT_NE(nobody.err.find("no craft named \"Nobody\""), std::string::npos) << nobody.err;
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
    EXPECT_NE(read_file(dir / "a/final.scn").find("TIME 12\n"), std::string::npos) << "the duration is simulated time";
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
        const std::string svg = read_file(dir / "o" / p);
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        EXPECT_NE(svg.find("</svg>"), std::string::npos);
    }
    EXPECT_NE(read_file(dir / "o/top_view.svg").find("Mervex-2"), std::string::npos);
    const std::string dialog = read_file(dir / "o/dialog.svg");
    EXPECT_NE(dialog.find("Mervex Controls"), std::string::npos);
    EXPECT_EQ(dialog.find("bitmap not found"), std::string::npos) << "the bitmap comes from the module's resources";
    EXPECT_NE(r.out.find("Mervex-2 (Mervex)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("saved:"), std::string::npos);
}

TEST_F(CliRun, AMervexAndATankFlyTogetherEachFromTheModuleOfItsClass)
{
    Result r = Run(scenarios + "/mervex_and_tank.scn -t " + scenarios + "/mervex_and_tank.timeline -d 21 --no-pictures -o " +
                   Out("o") + " --json " + Out("t.json"));
    ASSERT_EQ(r.status, 0) << r.err;
    const auto blocks = Blocks(dir / "o/final.scn");
    EXPECT_EQ(Line(blocks.at("Mervex-1"), "ARRAYS"), "ARRAYS 0");
    EXPECT_EQ(Line(blocks.at("Tank-1"), "DRY_MASS"), "DRY_MASS 500");
    // 10 s of 200 N on the tank's 800 kg.
    std::istringstream vel(Line(blocks.at("Tank-1"), "VEL").substr(4));
    double x = 1, y = 1, z = 0;
    vel >> x >> y >> z;
    EXPECT_EQ(x, 0);
    EXPECT_NEAR(z, 2.501, 1e-3);
    const std::string json = read_file(dir / "t.json");
    EXPECT_NE(json.find(std::string(SIMHOST_MODULES) + "/Tank.so\""), std::string::npos) << json.substr(0, 300);
    EXPECT_NE(r.out.find("Tank-1 (Tank)"), std::string::npos) << r.out;
    // The summary tells the craft's own lines from the host's state lines.
    EXPECT_NE(r.out.find("  craft's lines  DRY_MASS 500\n"), std::string::npos) << r.out;

    // -m serves its own class; the folder, empty here, the others.
    fs::create_directories(dir / "empty");
    r = Run(scenarios + "/stowed.scn -m " + SIMHOST_MODULES + "/Mervex.so --modules " + Out("empty") + " -d 1 -q -o " + Out("m"));
    EXPECT_EQ(r.status, 0) << r.err;
    r = Run(scenarios + "/mervex_and_tank.scn -m " + SIMHOST_MODULES + "/Mervex.so --modules " + Out("empty") + " -q -o " + Out("m"));
    EXPECT_NE(r.err.find("mervex_and_tank.scn:16: no module for the class Tank: "), std::string::npos) << r.err;
}

TEST_F(CliRun, ABareModuleNameIsTheFileInTheWorkingFolderNeverOneOnTheSearchPath)
{
    // A decoy of the same name where the library search path leads: a
    // module of another kind that saves no DRY_MASS.
    fs::create_directories(dir / "decoy");
    fs::copy_file(FAULTY_MODULE_PATH, dir / "decoy/Tank.so");
    fs::copy_file(std::string(SIMHOST_MODULES) + "/Tank.so", dir / "Tank.so");
    std::ofstream(dir / "tank.scn") << "BEGIN_VESSEL T-1:Tank\n  DRY_MASS 321\nEND_VESSEL\n";
    fs::create_directories(dir / "empty");
    const std::string cd = "cd " + Out("") + " && LD_LIBRARY_PATH=" + Out("decoy") + " exec ";
    const Result r = Run("tank.scn -m Tank.so --modules empty -d 1 -q --no-pictures -o o --json o/t.json", cd);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Line(Blocks(dir / "o/final.scn")["T-1"], "DRY_MASS"), "DRY_MASS 321");
    EXPECT_NE(read_file(dir / "o/t.json").find("\"./Tank.so\""), std::string::npos) << "the file loaded, as a path";
}

TEST_F(CliRun, AModulesResourcesAreReadOnlyFromARegularFileOfBoundedSize)
{
    // The dialog opened at once makes the host read the module's resources.
    // A host that waits on the FIFO or reads the device without end is
    // stopped by timeout, and fails.
    const std::tuple<const char*, const char*, std::function<void(const fs::path&)>> cases[] = {
        {"fifo", "it is a FIFO", [](const fs::path& res) { mkfifo(res.c_str(), 0600); }},
        {"zero", "it is a device", [](const fs::path& res) { fs::create_symlink("/dev/zero", res); }},
    };
    for (const auto& [name, reason, make] : cases) {
        SCOPED_TRACE(reason);
        const fs::path c = dir / name;
        fs::create_directories(c);
        fs::copy_file(std::string(SIMHOST_MODULES) + "/Mervex.so", c / "Mervex.so");
        make(c / "Mervex.res");
        const Result r = Run(scenarios + "/stowed.scn -m " + Out(c.filename() / "Mervex.so") +
                                 " -d 1 -q -o " + Out(c.filename() / "o") + " --at 0:key:Ctrl+Space",
                             "exec timeout -s KILL 20 ");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("Mervex.res: " + std::string(reason)), std::string::npos) << r.err;
        EXPECT_TRUE(fs::exists(c / "o/final.scn"));
    }
}

TEST_F(CliRun, AModulesFloatsAreSavedAsTheShortestTextThatReadsBackTheSameDouble)
{
    std::ofstream(dir / "tank.scn") << "BEGIN_VESSEL T-1:Tank\n  DRY_MASS 123.4567891234\nEND_VESSEL\n"
                                       "BEGIN_VESSEL T-2:Tank\n  DRY_MASS 1e-300\nEND_VESSEL\n"
                                       "BEGIN_VESSEL T-3:Tank\n  DRY_MASS 0.30000000000000004\nEND_VESSEL\n";
    const Result r = Run(Out("tank.scn") + " -d 0 -q --no-pictures -o " + Out("o"));
    ASSERT_EQ(r.status, 0) << r.err;
    auto blocks = Blocks(dir / "o/final.scn");
    EXPECT_EQ(Line(blocks["T-1"], "DRY_MASS"), "DRY_MASS 123.4567891234");
    EXPECT_EQ(Line(blocks["T-2"], "DRY_MASS"), "DRY_MASS 1e-300");
    EXPECT_EQ(Line(blocks["T-3"], "DRY_MASS"), "DRY_MASS 0.30000000000000004");
}

TEST_F(CliRun, ClicksNameAButtonByItsCaptionInTheModulesTemplateOrByItsId)
{
    const Result r = Run(scenarios + "/stowed.scn -d 6 --no-pictures -q -o " + Out("o") + " --json " + Out("t.json") +
                         " --at 0:key:Ctrl+Space --at 1:click:deploy --at 2:click:1004 --at 3:click:HELP"
                         " --at 4:click:close --at 5:click:1004");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Blocks(dir / "o/final.scn").at("Mervex-1");
    EXPECT_NE(Line(lines, "ARRAYS"), "ARRAYS 1") << "the caption in any case clicked DEPLOY";
    EXPECT_EQ(Line(lines, "NAVLIGHTS"), "NAVLIGHTS") << "the id clicked the blank lights button, once";
    EXPECT_EQ(Line(lines, "DIALOG"), "") << "close closed the dialog";
    const std::string json = read_file(dir / "t.json");
    for (const char* note : {"t=1 s: click deploy in \\\"Mervex Controls\\\"",
                             "t=3 s: click HELP: no open dialog has such a button; nothing clicked",
                             "t=5 s: click 1004: no dialog is open; nothing clicked"})
        EXPECT_NE(json.find(note), std::string::npos) << note;
    EXPECT_NE(json.find("\"dialogs\":[{\"module\":\"Mervex\",\"caption\":\"Mervex Controls\",\"buttons\":[{\"id\":1003,"
                        "\"caption\":\"DEPLOY\",\"enabled\":true}"),
              std::string::npos);
}

TEST_F(CliRun, BadInputGivesNonZeroStatusAndOneLineReason)
{
    std::ofstream(dir / "bad.scn") << "BEGIN_VESSEL Mervex-1:Mervex\n  ARRAYS 1\n  POS 1 2\nEND_VESSEL\n";
    std::ofstream(dir / "bad.timeline") << "0 key K\n2 thrust main=7\n";
    std::string many = "BEGIN_VESSEL Mervex-1:Mervex\n";
    for (int i = 0; i < 1000; ++i) many += "  FOO " + std::string(200, 'x') + "\n";
    std::ofstream(dir / "many.scn") << many << "END_VESSEL\n";
    std::ofstream fleet(dir / "fleet.scn");
    for (int i = 0; i <= 10000; ++i) fleet << "BEGIN_VESSEL M" << i << ":Mervex\nEND_VESSEL\n";
    fleet.close();
    const std::string stowed = scenarios + "/stowed.scn -q -o " + Out("o");
    const std::pair<std::string, std::string> cases[] = {
        {Out("many.scn") + " -q", "many.scn:11: unknown line: FOO xxx"},
        {Out("many.scn") + " -q", "; and 990 more problems\n"},
        {Out("fleet.scn") + " -q",
         "fleet.scn:20001: more than 10000 craft in one scenario: BEGIN_VESSEL M10000:Mervex"},
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
        EXPECT_LT(r.err.size(), 4000u) << "a short one";
        EXPECT_FALSE(fs::exists(dir / "o/final.scn"));
    }
}

// Every file below `folder`, by relative path.
std::set<std::string> Files(const fs::path& folder)
{
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (!e.is_directory()) out.insert(e.path().lexically_relative(folder).string());
    return out;
}

TEST_F(CliRun, BytesFromAFileOrAModuleReachTheTerminalEscaped)
{
    // A title, the clipboard (OSC 52), a cleared screen, a C1 control and a byte that is not UTF-8.
    const std::string hostile = "\x1b]0;owned\x07\x1b]52;c;aGk=\x07\x1b[2J\xc2\x9b" "2J\xff\x7f";
    std::ofstream(dir / "hostile.scn") << "BEGIN_VESSEL F" << hostile << ":Faulty\n  FAULT throw " << hostile
                                       << "\nEND_VESSEL\n";
    const Result r = Run(Out("hostile.scn") + " -m " FAULTY_MODULE_PATH " -d 1 --no-pictures -o " + Out("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot use"), std::string::npos) << r.err;
    for (const std::string& said : {r.out, r.err}) {
        EXPECT_EQ(sim::valid_utf8(said), said);
        for (size_t i = 0; i < said.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(said[i]);
            EXPECT_FALSE((c < 0x20 && c != '\n') || c == 0x7F || (c == 0xC2 && (said[i + 1] & 0xE0) == 0x80))
                << "byte " << int(c) << " at " << i << " of " << sim::shown_text(said, said.size());
        }
    }
}

TEST_F(CliRun, AModuleFaultStopsTheRunWhichSavesTheStateReached)
{
    std::ofstream(dir / "faulty.scn") << "BEGIN_VESSEL F-1:Faulty\n  FAULT animation\n  VEL 1 0 0\nEND_VESSEL\n";
    const Result r = Run(Out("faulty.scn") + " -m " FAULTY_MODULE_PATH " -d 5 -q -o " + Out("o"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("module fault: SetAnimation(7, 0.5) on F-1: no animation of the craft has this id; the state "
                         "reached is saved to "),
              std::string::npos)
        << r.err;
    // The fault came in the first step, which the host finished.
    EXPECT_EQ(Line(Blocks(dir / "o/final.scn")["F-1"], "POS"), "POS 0.10000000000000001 0 0");
}

TEST_F(CliRun, OutputsAreWholeRegularFilesWrittenOnlyWhereNamed)
{
    const std::string stowed = scenarios + "/stowed.scn";
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> setup;  // in the case's own folder
        std::string args;                            // "@" stands for that folder
        std::string reason;                          // empty: the run succeeds
        std::set<std::string> files;                 // exactly these remain in the folder
        std::string shell = "";
    };
    const std::string quiet = " -d 1 --no-pictures -q";
    auto victim = [](const fs::path& c) { std::ofstream(c / "victim") << "precious"; };
    const Case cases[] = {
        {"link_at_the_old_temporary_name",
         [&](const fs::path& c) {
             victim(c);
             fs::create_directory(c / "o");
             fs::create_symlink(c / "victim", c / "o/final.scn.tmp");
         },
         stowed + quiet + " -o @/o", "", {"victim", "o/final.scn.tmp", "o/final.scn"}},
        {"link_as_the_target",
         [&](const fs::path& c) {
             victim(c);
             fs::create_symlink(c / "victim", c / "final.scn");
         },
         stowed + quiet + " -o @", "it is a symbolic link", {"victim", "final.scn"}},
        {"folder_as_the_target", [](const fs::path& c) {
             fs::create_directory(c / "t.json");
             std::ofstream(c / "t.json/x");
         },
         stowed + quiet + " -o @ --json @/t.json", "t.json: it is a folder", {"t.json/x"}},
        {"permissions_kept", [](const fs::path& c) {
             std::ofstream(c / "final.scn") << "old";
             fs::permissions(c / "final.scn", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         },
         stowed + quiet + " -o @", "", {"final.scn"}},
        {"telemetry_on_the_save", [](const fs::path&) {}, stowed + quiet + " -o @ --json @/final.scn",
         "would both write", {}},
        {"timeline_save_on_a_picture", [](const fs::path&) {}, stowed + " -d 1 -q -o @ --at 1:save:top_view.svg",
         "would both write", {}},
        {"save_on_the_scenario", [](const fs::path& c) { fs::copy_file(scenarios + "/stowed.scn", c / "s.scn"); },
         "@/s.scn" + quiet + " -o @ --save @/./s.scn", "which is the scenario", {"s.scn"}},
        {"save_on_the_timeline", [](const fs::path& c) { std::ofstream(c / "k.tl") << "0 key K\n"; },
         stowed + quiet + " -o @ -t @/k.tl --at 1:save:k.tl", "which is the timeline", {"k.tl"}},
        {"save_on_the_modules_resources",
         [](const fs::path& c) {
             fs::create_directory(c / "mods");
             fs::copy_file(std::string(SIMHOST_MODULES) + "/Mervex.so", c / "mods/Mervex.so");
             std::ofstream(c / "mods/Mervex.res") << "res";
         },
         stowed + quiet + " -o @ -m @/mods/Mervex.so --save @/mods/Mervex.res", "which is the module's resources",
         {"mods/Mervex.so", "mods/Mervex.res"}},
        {"save_on_a_mesh", [](const fs::path& c) { fs::create_directory(c / "meshes"); },
         stowed + quiet + " -o @ --meshes @/meshes/ --save @/meshes/sub/../Mervex.OBJ", "a mesh file in the mesh folder", {}},
        {"json_into_the_modules_folder", [](const fs::path& c) { fs::create_directory(c / "mods"); },
         stowed + quiet + " -o @ --modules @/mods -m " + SIMHOST_MODULES + "/Mervex.so --json @/mods/../mods/Tank.so",
         "into the modules folder", {}},
        {"device_names_as_outputs", [](const fs::path&) {},
         stowed + quiet + " -o @ --json @/t.json --at 1:save:Aux.tar.gz", "Aux.tar.gz is a device's name on Windows",
         {}},
        {"device_name_as_the_json", [](const fs::path&) {}, stowed + quiet + " -o @ --json '@/com7 .json'",
         "is a device's name on Windows", {}},
        {"device_as_the_scenario", [](const fs::path&) {}, "/dev/zero -q -o @", "/dev/zero: it is a device", {}},
        {"fifo_as_the_scenario", [](const fs::path& c) { mkfifo((c / "f").c_str(), 0600); }, "@/f -q -o @",
         "f: it is a FIFO", {"f"}},
        {"folder_as_the_timeline", [](const fs::path&) {}, stowed + quiet + " -o @ -t @", "it is a folder", {}},
        {"oversized_timeline", [](const fs::path& c) {
             std::ofstream(c / "big.tl");
             fs::resize_file(c / "big.tl", (std::uintmax_t(256) << 20) + 1);  // sparse: no disk used
         },
         stowed + quiet + " -o @ -t @/big.tl", "268435457 bytes, more than the 256 MB", {"big.tl"}},
        // A name that fits, but not with the temporary's suffix: refused
        // before the run, so the telemetry is not written either.
        {"name_too_long_for_its_temporary", [](const fs::path&) {},
         stowed + quiet + " -o @ --json @/t.json --save @/" + std::string(240, 's') + ".scn", "File name too long", {}},
        // Past 4 blocks of 512 bytes a write fails: the save fits, no picture
        // does. The limit's signal does not end the program.
        {"outputs_that_cannot_be_written", [](const fs::path&) {}, stowed + " -d 20 -q -o @ --json @/t.json",
         "File too large; written: ", {"final.scn"}, "ulimit -f 4; exec "},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const fs::path c = dir / k.name;
        fs::create_directories(c);
        k.setup(c);
        std::string args = k.args;
        for (size_t at; (at = args.find('@')) != std::string::npos;) args.replace(at, 1, c.string());
        const Result r = Run(args, k.shell);
        if (k.reason.empty()) {
            EXPECT_EQ(r.status, 0) << r.err;
        } else {
            EXPECT_EQ(r.status, 1);
            EXPECT_NE(r.err.find(k.reason), std::string::npos) << r.err;
        }
        EXPECT_EQ(Files(c), k.files);
        if (fs::exists(c / "victim")) {
            EXPECT_EQ(read_file(c / "victim"), "precious");
        }
    }
    const auto& kept = dir / "permissions_kept/final.scn";
    EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(sim::read_scenario_file(kept.string()).vessels.size(), 1u);
    const std::string partial = read_file(dir / "stderr");  // of the last case
    EXPECT_NE(partial.find("t.json", partial.rfind("; not written: ")), std::string::npos) << partial;
}

TEST_F(CliRun, AnOutputThatFillsTheDiskCostsTheFinalSaveNoRoom)
{
    // A small file system of the run's own, mounted in a namespace of its
    // own; what it held is copied out before the namespace ends.
    if (std::system("unshare -rm true > /dev/null 2>&1") != 0) GTEST_SKIP() << "no mount namespace to be had here";
    const std::string small = (dir / "small").string();
    fs::create_directories(small);
    const std::string inside = "mount -t tmpfs -o size=128k tmpfs " + small + " && \"$0\" \"$@\"; status=$?; ls -A " +
                               small + " > " + Out("left") + "; cp " + small + "/final.scn " + Out("final.scn") +
                               "; exit $status";
    const std::string cmd = "unshare -rm sh -c '" + inside + "' '" + SIMHOST_RUN_PATH + "' " + scenarios +
                            "/stowed.scn -d 100 --json-every 0 --no-pictures -q -o " + small + " --json " + small +
                            "/t.json 2> " + Out("stderr");
    const int raw = std::system(cmd.c_str());
    const std::string err = read_file(dir / "stderr");
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << err;
    EXPECT_NE(err.find("No space left on device; written: " + small + "/final.scn; not written: " + small + "/t.json"),
              std::string::npos)
        << err;
    EXPECT_EQ(read_file(dir / "left"), "final.scn\n") << "no temporary left";
    EXPECT_EQ(sim::read_scenario_file((dir / "final.scn").string()).vessels.size(), 1u);
}

TEST_F(CliRun, OptionsAreReadStrictlyAndMessagesShowWhatWasWritten)
{
    const std::string craft = "BEGIN_VESSEL Mervex-1:Mervex\nARRAYS 1\nEND_VESSEL\n";
    std::ofstream(dir / "long.scn") << "BEGIN_VESSEL Mervex-1:Mervex\nPOS 1 \x01\xff\\" << std::string(300, 'x') << "\nEND_VESSEL\n";
    std::ofstream(dir / "bom_cr.scn") << "\xEF\xBB\xBF# saved on an old Mac\rBEGIN_VESSEL Mervex-1:Mervex\rARRAYS 1\rEND_VESSEL\r";
    std::ofstream(dir / "cr_bad.scn") << "# line 1\rBEGIN_VESSEL Mervex-1:Mervex\rPOS 1\rEND_VESSEL\r";
    std::ofstream(dir / "bom.tl") << "\xEF\xBB\xBF" "0 key K\r\n";
    const std::string stowed = scenarios + "/stowed.scn -q --no-pictures -o " + Out("o");
    const std::pair<std::string, std::string> cases[] = {
        {stowed + " -d 0x10", "--duration: \"0x10\" is not a number"},
        {stowed + " -d ' 5'", "--duration: \" 5\" is not a number"},
        {stowed + " -w inf", "--warp: \"inf\" is not a number"},
        {stowed + " -s 1e-10 -d 1", "about 1e+10 steps"},
        {stowed + " -d 1e300", "more than --max-steps 10000000"},
        {stowed + " -d 1 --max-steps 5", "about 10 steps"},
        {stowed + " --max-steps 2.5", "--max-steps: \"2.5\" is not a whole number"},
        {stowed + " -m ''", "--module: no module path given"},
        {stowed + " --at 12345678901:key:K", "time 12345678901 s lies after the end of the run"},
        {Out("long.scn") + " -q -o " + Out("o"), "long.scn:2: expected three numbers: POS 1 \\x01\\xFF\\\\xxx"},
        {Out("cr_bad.scn") + " -q -o " + Out("o"), "cr_bad.scn:3: expected three numbers: POS 1"},
        {Out("bom_cr.scn") + " -d 1 -q --no-pictures -o " + Out("o") + " -t " + Out("bom.tl"), ""},
    };
    for (const auto& [args, reason] : cases) {
        SCOPED_TRACE(args);
        const Result r = Run(args);
        if (reason.empty()) {
            EXPECT_EQ(r.status, 0) << r.err;
            continue;
        }
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
        EXPECT_LT(r.err.size(), 400u) << "a long line is cut";
        for (char c : r.err.substr(0, r.err.size() - 1)) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "a raw byte " << int(c);
    }

    // Whatever bytes a craft's name holds (U+FFFF is UTF-8 but no XML
    // character), the telemetry and the pictures are UTF-8 text, and XML
    // characters in the pictures.
    std::ofstream(dir / "name.scn") << "BEGIN_VESSEL M\x01\xff\xc3\xef\xbf\xbf\xef\xbf\xbe<&:Mervex\nEND_VESSEL\n";
    const Result r = Run(Out("name.scn") + " -d 1 -o " + Out("n") + " --json " + Out("n/t.json") + " --at 0:key:K");
    ASSERT_EQ(r.status, 0) << r.err;
    // The summary on the terminal shows the name escaped, in its events too.
    EXPECT_NE(r.out.find("M\\x01\\xFF\\xC3"), std::string::npos) << r.out;
    for (char c : r.out) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << int(c);
    for (const char* file : {"t.json", "top_view.svg", "deployment.svg", "telemetry.svg"}) {
        SCOPED_TRACE(file);
        const std::string text = read_file(dir / "n" / file);
        EXPECT_NE(text.find("M"), std::string::npos);
        EXPECT_EQ(sim::valid_utf8(text), text);
        for (char c : text) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n');
        if (text.rfind("<?xml", 0) != 0) continue;
        for (size_t at = 0, n = 0; at < text.size(); at += n) {
            n = sim::utf8_char_length(text, at);
            ASSERT_TRUE(n && sim::xml_char(text, at, n)) << "at byte " << at;
        }
    }
}

TEST_F(CliRun, EverySaveLoadsAgainToTheSameText)
{
    struct Case {
        const char* name;
        std::string lines;   // the craft's lines in the first scenario
        std::string reason;  // empty: the first run ends normally
        // A line of the module's that it writes only once a step has run,
        // and so a save before any step lacks.
        std::string written_after_a_step = "";
    };
    const Case cases[] = {
        {"spin_past_overflow", "AROT 1e160 1e160 0",
         "Mervex-1: the angular velocity (AROT) is no longer a finite number after the step from t = 0 s"},
        {"flight_past_overflow", "POS 1.7e308 0 0\nVEL 1e308 0 0",
         "Mervex-1: the position (POS) is no longer a finite number after the step from t = 0 s"},
        {"unnormalised_attitude", "ATT 1 1 0 0", ""},
        {"turning", "ATT 0.3 0.1 -0.5 0.7\nAROT 0.01 -0.02 0.03", ""},
        // Mervex writes DIALOG while its dialog is open, and opens it at its
        // first step: the host's lines are its promise, this one the module's.
        {"dialog_open", "DIALOG", "", "  DIALOG\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const fs::path c = dir / k.name;
        fs::create_directories(c);
        std::ofstream(c / "s.scn") << "BEGIN_VESSEL Mervex-1:Mervex\n" << k.lines << "\nEND_VESSEL\n";
        const Result first = Run(Out(k.name) + "/s.scn -d 1 --no-pictures -q -o " + Out(k.name) + "/a");
        if (k.reason.empty()) {
            EXPECT_EQ(first.status, 0) << first.err;
        } else {
            EXPECT_EQ(first.status, 1);
            EXPECT_NE(first.err.find(k.reason + "; the state reached is saved to"), std::string::npos) << first.err;
            // The last good state, as loaded.
            const std::string loaded = k.lines.substr(0, k.lines.find('\n'));
            std::istringstream want(loaded), got(Line(Blocks(c / "a/final.scn")["Mervex-1"], loaded.substr(0, 4)));
            std::string key;
            double a[3], b[3];
            want >> key >> a[0] >> a[1] >> a[2];
            got >> key >> b[0] >> b[1] >> b[2];
            EXPECT_EQ(std::vector<double>(a, a + 3), std::vector<double>(b, b + 3)) << loaded;
        }
        // Loaded and saved again, twice, the file stays the same text.
        std::string saved = read_file(c / "a/final.scn");
        if (!k.written_after_a_step.empty()) {
            const size_t at = saved.find(k.written_after_a_step);
            ASSERT_NE(at, std::string::npos) << saved;
            saved.erase(at, k.written_after_a_step.size());
        }
        const Result second = Run(Out(k.name) + "/a/final.scn -d 0 --no-pictures -q -o " + Out(k.name) + "/b");
        ASSERT_EQ(second.status, 0) << second.err;
        const Result third = Run(Out(k.name) + "/b/final.scn -d 0 --no-pictures -q -o " + Out(k.name) + "/c");
        ASSERT_EQ(third.status, 0) << third.err;
        EXPECT_EQ(read_file(c / "b/final.scn"), saved);
        EXPECT_EQ(read_file(c / "c/final.scn"), saved);
    }
}

// Starts the program `args` names first, its standard error going to `err`
// and its output to `out`; its process id.
pid_t Start(std::vector<std::string> args, int err, int out = -1)
{
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(err, 2);
        if (out >= 0) dup2(out, 1);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Starts a run far too long to finish, waits until it has saved at t = 1 s
// (so it is stepping), sends SIGINT and returns the exit status.
int InterruptedRun(const fs::path& out, const std::vector<std::string>& extra)
{
    fs::create_directories(out);
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, out.c_str(), IN_MOVED_TO);
    std::vector<std::string> args{SIMHOST_RUN_PATH, scenarios + "/stowed.scn", "-d", "1e9", "--max-steps", "1e12", "-q",
                                  "--no-pictures", "-o", out.string(), "--at", "1:save:mid.scn"};
    args.insert(args.end(), extra.begin(), extra.end());
    const int err = open((out / "../stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = Start(args, err);
    close(err);
    for (bool saved = false; !saved;) {
        pollfd p{watch, POLLIN, 0};
        if (poll(&p, 1, 60000) <= 0) break;  // never saved: the status below shows it
        alignas(inotify_event) char buf[4096];
        const ssize_t n = read(watch, buf, sizeof buf);
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            saved = saved || (e->len && std::string(e->name) == "mid.scn");
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    close(watch);
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CliRun, InterruptEndsTheRunAfterAStepAndSavesTheStateReached)
{
    ASSERT_EQ(InterruptedRun(dir / "o", {"--json", (dir / "o/t.json").string(), "--json-every", "1000"}), 130);
    const std::string err = read_file(dir / "stderr");
    EXPECT_NE(err.find("stopped by SIGINT (Ctrl+C) at t = "), std::string::npos) << err;
    EXPECT_NE(err.find("saved to " + (dir / "o/final.scn").string()), std::string::npos) << err;
    const double t = sim::read_scenario_file((dir / "o/final.scn").string()).time;
    EXPECT_GE(t, 1);
    EXPECT_LT(t, 1e9);
    const std::string json = read_file(dir / "o/t.json");
    EXPECT_EQ(json.substr(json.size() - 2), "}\n") << "the telemetry is complete";
    EXPECT_EQ(Files(dir / "o"), (std::set<std::string>{"final.scn", "mid.scn", "t.json"}));

    // Asked to, the run leaves the save as it was.
    fs::create_directories(dir / "k");
    std::ofstream(dir / "k/final.scn") << "kept";
    ASSERT_EQ(InterruptedRun(dir / "k", {"--no-save-on-stop"}), 130);
    EXPECT_EQ(read_file(dir / "k/final.scn"), "kept");
    EXPECT_NE(read_file(dir / "stderr").find("left as it was"), std::string::npos);
}

// Reads `fd` until `text` has come, or the writer has gone; all that was read.
std::string ReadUntil(int fd, const std::string& text)
{
    std::string got;
    char buf[256];
    while (got.find(text) == std::string::npos) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, static_cast<size_t>(n));
    }
    return got;
}

TEST_F(CliRun, ASecondInterruptEndsARunWhoseModuleNeverReturns)
{
    std::ofstream(dir / "hang.scn") << "BEGIN_VESSEL F-1:Faulty\n  FAULT hang\nEND_VESSEL\n";
    std::vector<std::string> args{SIMHOST_RUN_PATH, (dir / "hang.scn").string(), "-m", FAULTY_MODULE_PATH, "-q", "-o",
                                  (dir / "o").string(), "--json", (dir / "o/t.json").string()};
    int err[2];
    ASSERT_EQ(pipe2(err, O_CLOEXEC), 0);
    const pid_t pid = Start(args, err[1]);
    close(err[1]);
    std::string said = ReadUntil(err[0], "hanging\n");
    kill(pid, SIGINT);
    said += ReadUntil(err[0], "once more to stop at once");
    kill(pid, SIGINT);
    // Its end closes the pipe; a program still there after half a minute
    // will not end by itself and is killed.
    bool ended = false;
    char buf[256];
    for (pollfd p{err[0], POLLIN, 0}; !ended && poll(&p, 1, 30000) > 0;) ended = read(err[0], buf, sizeof buf) <= 0;
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(err[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << said;
    EXPECT_NE(said.find("simhost-run: stopping after the step under way"), std::string::npos) << said;
    EXPECT_EQ(Files(dir / "o"), std::set<std::string>{}) << "nothing saved, no temporary left";
}

TEST_F(CliRun, AModuleThatCrashesLeavesNoTemporaryBehind)
{
    for (const char* how : {"segv", "bus", "fpe", "ill", "abort", "overflow"}) {
        SCOPED_TRACE(how);
        std::ofstream(dir / "crash.scn") << "BEGIN_VESSEL F-1:Faulty\n  FAULT crash " << how << "\nEND_VESSEL\n";
        const Result r = Run(Out("crash.scn") + " -m " FAULTY_MODULE_PATH " -q -o " + Out(how) + " --json " +
                                 Out(std::string(how) + "/t.json"),
                             "ulimit -c 0; exec ");
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(Files(dir / how), std::set<std::string>{}) << r.err;
    }
}

TEST_F(CliRun, AFleetGetsPicturesOfBoundedSizeAndLongRunsASampledTelemetry)
{
    std::string scn;
    for (int i = 1; i <= 25; ++i)
        scn += "BEGIN_VESSEL Mervex-" + std::to_string(i) + ":Mervex\n  PROPELLANT 0 " + std::to_string(100 + i) +
               "\nEND_VESSEL\n";
    std::ofstream(dir / "fleet.scn") << scn;
    Result r = Run(Out("fleet.scn") + " -d 1 --step 0.5 -q -o " + Out("o"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string top = read_file(dir / "o/top_view.svg"), plot = read_file(dir / "o/telemetry.svg");
    EXPECT_NE(top.find("20 of 25 craft shown"), std::string::npos);
    EXPECT_NE(top.find("Mervex-20 "), std::string::npos);
    EXPECT_EQ(top.find("Mervex-21 "), std::string::npos);
    EXPECT_NE(plot.find("25 craft: each line is the median"), std::string::npos);
    EXPECT_EQ(plot.find("Mervex-1"), std::string::npos) << "no line of its own for any craft";

    // 4000 steps give a thousand samples and the first, unless every step is asked for.
    auto samples = [](const std::string& json) {
        size_t n = 0;
        for (size_t at = 0; (at = json.find("{\"t\":", at)) != std::string::npos; ++at) ++n;
        return n;
    };
    r = Run(scenarios + "/stowed.scn -d 4 --step 0.001 --no-pictures -q -o " + Out("long") + " --json " + Out("l.json"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(samples(read_file(dir / "l.json")), 1001u);
    r = Run(scenarios + "/stowed.scn -d 4 --step 0.001 --json-every 0 --no-pictures -q -o " + Out("every") + " --json " +
            Out("e.json"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(samples(read_file(dir / "e.json")), 4001u);
}

// The most memory a run of simhost-run with `args` held, in bytes.
long PeakMemory(std::vector<std::string> args)
{
    args.insert(args.begin(), SIMHOST_RUN_PATH);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = Start(args, null, null);
    close(null);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss * 1024;
}

TEST_F(CliRun, ReadingAnInputTakesMemoryInProportionToItsSize)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own bookkeeping grows with every allocation";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's own bookkeeping grows with every allocation";
#endif
#endif
    // The worst cases: the shortest lines a craft's block or a timeline can
    // hold, each of them refused, at two sizes; the difference is what the
    // reading took. The README states these factors.
    struct Case {
        const char* name;
        std::string head, line, tail;
        double factor;
    };
    const Case cases[] = {
        {"scenario", "BEGIN_VESSEL M-1:Mervex\n", "x\n", "END_VESSEL\n", 25},
        {"timeline", "", "0 key K\n", "", 64},
    };
    // A long path, which no action may keep a copy of.
    const fs::path folder = dir / std::string(200, 'p');
    fs::create_directories(folder);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        long peak[2] = {0, 0};
        double size[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            const fs::path file = folder / (std::string(k.name) + std::to_string(i));
            std::string text = k.head;
            const size_t count = i ? 1000000 : 100000;
            text.reserve(text.size() + count * k.line.size());
            for (size_t n = 0; n < count; ++n) text += k.line;
            text += k.tail;
            std::ofstream(file, std::ios::binary) << text;
            size[i] = double(text.size());
            std::vector<std::string> args{file.string(), "-d", "0", "-q", "-o", (dir / "o").string()};
            if (std::string(k.name) == "timeline") args.insert(args.begin(), {scenarios + "/stowed.scn", "-t"});
            peak[i] = PeakMemory(args);
        }
        const double factor = double(peak[1] - peak[0]) / (size[1] - size[0]);
        EXPECT_LT(factor, k.factor) << peak[0] << " and " << peak[1] << " bytes";
        EXPECT_GT(factor, 1) << "the input was read";
    }
}

TEST_F(CliRun, HelpExplainsTheProgram)
{
    const Result r = Run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* part : {"Usage: simhost-run", "--modules", "--duration", "--step", "--warp", "--at", "--timeline",
                             "--json", "Shift+L", "translate-down", "click:1003"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

}  // namespace
