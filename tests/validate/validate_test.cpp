// simhost-validate run as a module's author runs it: on a module with one
// fault at a time it fails exactly the checks meant to catch that fault, on
// the clean build of the same module and on Mervex it passes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>

#include "util/utf8.h"
#include "support/read_file.h"

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::string out;
};

class Validate : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        // Apart per process: other builds of the tree may run the same test at once.
        dir = fs::temp_directory_path() / ("simhost_validate_" + std::to_string(getpid()) + "_" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Result Run(const std::string& args, const fs::path& cwd = ".")
    {
        // Bounded, so that a validator that hangs fails its test rather than the whole run.
        const std::string cmd = "cd '" + cwd.string() + "' && timeout 120 '" + SIMHOST_VALIDATE_PATH + "' " + args +
                                " > '" + (dir / "stdout").string() + "' 2>&1";
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(dir / "stdout")};
    }

    // The names of the checks the JSON report gives as failed (or warned).
    std::set<std::string> Failed(const fs::path& json, const std::string& result = "fail")
    {
        const std::string text = read_file(json);
        const std::regex failed(R"re("name": "([a-z-]+)", "level": [0-9]+, "result": ")re" + result + "\"");
        std::set<std::string> out;
        for (std::sregex_iterator it(text.begin(), text.end(), failed), end; it != end; ++it) out.insert((*it)[1]);
        return out;
    }

    fs::path dir;
};

struct Flaw {
    const char* module;
    std::set<std::string> failing;
    const char* says = "";  // what the first failure or warning names
    std::set<std::string> warned = {};
    const char* options = "";
};

void PrintTo(const Flaw& flaw, std::ostream* os) { *os << flaw.module; }

class FlawedModule : public Validate, public ::testing::WithParamInterface<Flaw> {};

TEST_P(FlawedModule, FailsExactlyTheChecksMeantToCatchIt)
{
    const std::string module = std::string(FLAWED_MODULES) + "/" + GetParam().module + ".so";
    const fs::path json = dir / "report.json", junit = dir / "report.xml";
    const Result r = Run("'" + module + "' --level 5 --seed 2026 " + GetParam().options + " --json '" +
                         json.string() + "' --junit '" + junit.string() + "'");
    EXPECT_EQ(r.status, GetParam().failing.empty() ? 0 : 1) << r.out;
    EXPECT_EQ(Failed(json), GetParam().failing) << r.out;
    EXPECT_EQ(Failed(json, "warn"), GetParam().warned) << r.out;
    for (const std::string& check : GetParam().failing) {
        EXPECT_NE(r.out.find("FAIL " + check), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("--check " + check), std::string::npos) << r.out;
    }
    EXPECT_NE(r.out.find(GetParam().says), std::string::npos) << r.out;
    // Valid UTF-8 with no control characters but line breaks, and nothing XML forbids.
    for (const fs::path& report : {json, junit}) {
        const std::string text = read_file(report);
        EXPECT_EQ(sim::valid_utf8(text), text) << report;
        EXPECT_EQ(text.find_first_of(std::string("\x01\x02\x0b\x0c\x1b\x7f\r", 7)), std::string::npos) << report;
    }
    EXPECT_EQ(read_file(junit).find("\xEF\xBF\xBF"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Flaws, FlawedModule,
    ::testing::Values(
        Flaw{"flawed_scenario", {"save-load-save", "restore"}, "COUNT 0x"},
        Flaw{"flawed_stale_craft",
             {"dialog-owner-gone", "craft-churn", "suspicious-use", "callback-timing"},
             "Craft-2, the second craft, pressing key B, then destroyed: module fault: ovcExit() on Craft-2: its dialog "
             "1, opened in clbkKeyPress of Craft-2, holds the destroyed craft as its context"},
        Flaw{"flawed_throws", {"hostile-scenario"}, "threw an exception: stoi"},
        Flaw{"flawed_definition", {"class-definition"}, "SetSize"}, Flaw{"flawed_leak", {"unload-memory"}, "heap grew"},
        Flaw{"flawed_slow", {"callback-timing"}, "clbkPreStep"},
        Flaw{"flawed_clock", {"determinism", "isolation", "restore"}, "SetAnimState"},
        Flaw{"flawed_keys", {"hostile-keys"}, "map::at"}, Flaw{"flawed_dialog", {"hostile-dialog"}, "WM_LBUTTONDOWN"},
        Flaw{"flawed_unload", {"unload-cycles"}, "stays mapped"},
        Flaw{"flawed_handle", {"hostile-keys"}, "SetAnimation"},
        Flaw{"flawed_exit",
             {"hostile-keys"},
             "ended the process (status 0) before the check's report was complete during key event"},
        Flaw{"flawed_close_fds", {"hostile-dialog"}, "before the check's report was complete during message"},
        Flaw{"flawed_hang",
             {"hostile-scenario"},
             "did not finish within " HANG_TIMEOUT " s (--timeout) during block",
             {},
             "--timeout " HANG_TIMEOUT},
        Flaw{"flawed_fork", {"hostile-keys"}, "left processes running after the check (pid "},
        Flaw{"flawed_fake_end",
             {"hostile-keys"},
             "crashed (Aborted) in clbkKeyPress of Craft-2 before the check's report was complete"},
        Flaw{"flawed_thread",
             {"hostile-keys"},
             "(\"flawed-worker\"), which is not the host's: a thread the module started? The host meanwhile was in "
             "clbkKeyPress of Craft-2"},
        Flaw{"flawed_chatter", {}, "the check's report was cut at 1 MB"},
        Flaw{"flawed_join_group",
             {"hostile-keys"},
             "did not finish within " HANG_TIMEOUT " s (--timeout) during key event",
             {},
             "--timeout " HANG_TIMEOUT},
        Flaw{"flawed_digits",
             {"restore"},
             "flown on from its save in a new process, the flight parts from the "
             "uninterrupted one at entry 2, field 24 (after anim): \""},
        Flaw{"flawed_no_host_lines", {"restore"}, "holds none of the host's lines"},
        Flaw{"flawed_shared", {"isolation"}, "acting on Craft-1 changed another craft"},
        Flaw{"flawed_first_craft", {"class-definition", "save-load-save"}, "differently from the module's first craft"},
        Flaw{"flawed_wall_clock", {"determinism"}, "oapiFindDialog"},
        Flaw{"flawed_uninit", {"determinism"}, "only because their fresh memory held different bytes"},
        Flaw{"flawed_asserts",
             {"save-load-save", "restore", "suspicious-use", "callback-timing", "hostile-scenario"},
             "the flight resumed from its save in a new process: crashed (Aborted) in clbkReadScenario of Craft-1 during "
             "loading the save"},
        Flaw{"flawed_empty_group", {}, "no thrusters", {"suspicious-use"}},
        Flaw{"flawed_read_past_end", {}, "read on after the block's end", {"suspicious-use"}},
        Flaw{"flawed_unload_calls",
             {},
             "oapiGetSimStep(): called while the module's library unloads",
             {"suspicious-use"}},
        Flaw{"flawed_all_keys", {}, "took every key", {"suspicious-use"}},
        Flaw{"flawed_null_tank", {}, "SetDefaultPropellantResource(null) on ", {"suspicious-use"}},
        Flaw{"flawed_local_groups",
             {"class-definition"},
             "must outlive the callback that made it (a local array of clbkDefineClass?)"},
        Flaw{"flawed_group_past_mesh",
             {"class-definition"},
             "animation component 0 of animation 0, added by AddAnimationComponent in clbkDefineClass: turns group 2 "
             "of mesh 0 (\"Examples/Tank\"), which has 2 groups"},
        Flaw{"flawed_dock_again",
             {"save-load-save"},
             "has 1 docking ports (CreateDock) where a craft just defined has 0"},
        Flaw{
            "flawed_locale", {"hostile-keys"}, "the module changed the C locale (setlocale) from \"C\" to \"C.UTF-8\""},
        Flaw{"flawed_creation_order", {"isolation"}, "the craft behave differently when made in the opposite order"},
        Flaw{"flawed_short_counter", {"long-flight"}, "of a long flight (0.1 s each): module fault: SetAnimState(1, 0) on Craft-"},
        Flaw{"flawed_both_edges", {}, "clbkKeyPress acts on key A at both press and release", {"suspicious-use"}}),
    [](const ::testing::TestParamInfo<Flaw>& p) { return std::string(p.param.module); });

// Sound but unusual: state in shared objects, a dialog taken over by the
// craft whose key asks for it, two animation chains on one base.
INSTANTIATE_TEST_SUITE_P(Faultless, FlawedModule,
                         ::testing::Values(Flaw{"flawed_clean", {}}, Flaw{"flawed_faultless_shared_state", {}},
                                           Flaw{"flawed_faultless_take_dialog", {}},
                                           Flaw{"flawed_faultless_chains", {}}),
                         [](const ::testing::TestParamInfo<Flaw>& p) { return std::string(p.param.module); });

TEST_F(Validate, MervexPassesTheLowestLevelAndWritesBothReports)
{
    const fs::path json = dir / "report.json", junit = dir / "report.xml";
    const Result r = Run(std::string("'") + MERVEX_MODULE_PATH + "' --level 1 --seed 1 --json '" + json.string() +
                         "' --junit '" + junit.string() + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("PASS exports"), std::string::npos) << r.out;
    EXPECT_NE(read_file(json).find("\"failed\": 0,"), std::string::npos) << read_file(json);
    EXPECT_TRUE(Failed(json).empty());
    EXPECT_NE(read_file(junit).find("tests=\"9\" failures=\"0\""), std::string::npos) << read_file(junit);
    // Written through a temporary file that is gone once renamed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 3) << "stdout and the two reports";
}

TEST_F(Validate, MervexPassesTheHighestLevel)
{
    const Result r = Run(std::string("'") + MERVEX_MODULE_PATH + "' --level 10 --seed 10");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("16 checks, 0 failed, 0 warned"), std::string::npos) << r.out;
}

TEST_F(Validate, KeepsTheBlockAHangWasMetOnAndRepeatsJustThatBlock)
{
    const std::string module = std::string(FLAWED_MODULES) + "/flawed_hang.so";
    const fs::path json = dir / "report.json";
    const Result r = Run("'" + module + "' --level 5 --seed 2026 --timeout 3 --check hostile-scenario --json '" +
                         json.string() + "'");
    const std::smatch repeat = [&] {
        std::smatch m;
        std::regex_search(r.out, m, std::regex("repeat: (.*--trial ([0-9]+).*)"));
        return m;
    }();
    ASSERT_FALSE(repeat.empty()) << r.out;
    const std::string kept = read_file(json.string() + ".hostile-scenario-2026.input");
    EXPECT_NE(kept.find("BEGIN_VESSEL Hostile-" + repeat[2].str() + ":"), std::string::npos) << kept;
    EXPECT_NE(kept.find("\n  COUNT "), std::string::npos) << kept;
    // Just that block: it hangs at once.
    const Result again = Run(repeat[1].str().substr(std::string("simhost-validate ").size()));
    EXPECT_NE(again.out.find("1 checks, 1 failed"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("during block " + repeat[2].str()), std::string::npos) << again.out;
}

TEST_F(Validate, AWarningFailsFromLevelEight)
{
    const std::string module = std::string(FLAWED_MODULES) + "/flawed_empty_group.so";
    for (int level : {7, 8}) {
        const Result r = Run("'" + module + "' --level " + std::to_string(level) + " --check suspicious-use");
        EXPECT_EQ(r.status, level < 8 ? 0 : 1) << r.out;
        EXPECT_NE(r.out.find(level < 8 ? "WARN suspicious-use" : "FAIL suspicious-use"), std::string::npos) << r.out;
    }
}

TEST_F(Validate, AModuleNamedWithoutAFolderIsTheFileHere)
{
    const Result r = Run("flawed_clean.so --level 1 --check exports", FLAWED_MODULES);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(std::string(FLAWED_MODULES) + "/flawed_clean.so at level 1"), std::string::npos) << r.out;
}

TEST_F(Validate, CommandLineItCannotFollowGivesStatusTwoAndNoReport)
{
    for (const std::string& args :
         {std::string("--level 11 x"), std::string("--check nothing x"), std::string("--seed -1 x"),
          std::string("one two"), std::string("--timeout 0 x"), std::string("--repeat 0 x"),
          std::string("x --check restore --trial 999"), std::string("x --check exports --trial 1"),
          std::string("x --in-process"), std::string("x --check exports --check restore --in-process"),
          "x --junit '" + (dir / "no" / "such" / "folder.xml").string() + "'"}) {
        const Result r = Run(args + " --json '" + (dir / "r.json").string() + "'");
        EXPECT_EQ(r.status, 2) << args << ": " << r.out;
        EXPECT_FALSE(fs::exists(dir / "r.json")) << args;
    }
}

TEST_F(Validate, OutputsOverAnInputOrEachOtherOrUncreatableAreRefusedBeforeAnyCheck)
{
    const fs::path module = dir / "flawed_clean.so";
    fs::copy_file(std::string(FLAWED_MODULES) + "/flawed_clean.so", module);
    const std::string before = read_file(module);
    const std::string r = (dir / "r.xml").string();
    for (const std::string& outputs :
         {"--json '" + module.string() + "'", "--junit '" + (dir / "flawed_clean.res").string() + "'",
          "--json '" + r + "' --junit '" + (dir / "." / "r.xml").string() + "'",
          "--json '" + (dir / std::string(239, 'r')).string() + "'"}) {
        const Result run = Run("'" + module.string() + "' --level 1 --seed 1 " + outputs);
        EXPECT_EQ(run.status, 2) << outputs << ": " << run.out;
        EXPECT_EQ(run.out.find("PASS"), std::string::npos) << outputs << ": " << run.out;
        EXPECT_FALSE(fs::exists(r)) << outputs;
    }
    EXPECT_EQ(read_file(module), before);
}

TEST_F(Validate, ARepeatLinePastedIntoAShellRunsTheValidatorOnThatModule)
{
    const fs::path module = dir / "Lander';touch PASTED;'.so";
    fs::copy_file(std::string(FLAWED_MODULES) + "/flawed_fork.so", module);
    const Result r = Run("\"" + module.string() + "\" --level 2 --seed 3 --check hostile-keys", dir);
    std::smatch repeat;
    ASSERT_TRUE(std::regex_search(r.out, repeat, std::regex("repeat: simhost-validate (.*)"))) << r.out;
    const Result again = Run(repeat[1].str(), dir);
    EXPECT_NE(again.out.find(module.string() + " at level 2"), std::string::npos) << again.out;
    EXPECT_NE(again.out.find("1 checks, 1 failed"), std::string::npos) << again.out;
    EXPECT_FALSE(fs::exists(dir / "PASTED"));
}

TEST_F(Validate, InProcessRunsTheCheckInTheValidatorItself)
{
    const std::string modules = FLAWED_MODULES;
    const Result clean = Run("'" + modules + "/flawed_clean.so' --seed 1 --check restore --trial 2 --in-process");
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_NE(clean.out.find("isolation is off"), std::string::npos) << clean.out;
    EXPECT_NE(clean.out.find("PASS restore"), std::string::npos) << clean.out;
    // A module that ends the process ends the validator: nothing stood between them.
    const Result exits = Run("'" + modules + "/flawed_exit.so' --level 2 --seed 1 --check hostile-keys --in-process");
    EXPECT_EQ(exits.status, 0) << exits.out;
    EXPECT_EQ(exits.out.find("1 checks"), std::string::npos) << exits.out;
}

}  // namespace
