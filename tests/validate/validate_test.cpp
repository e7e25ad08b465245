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

    Result Run(const std::string& args)
    {
        const std::string cmd = std::string("'") + SIMHOST_VALIDATE_PATH + "' " + args + " > '" +
                                (dir / "stdout").string() + "' 2>&1";
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(dir / "stdout")};
    }

    // The names of the checks the JSON report gives as failed.
    std::set<std::string> Failed(const fs::path& json)
    {
        const std::string text = read_file(json);
        const std::regex failed(R"re("name": "([a-z-]+)", "level": [0-9]+, "result": "fail")re");
        std::set<std::string> out;
        for (std::sregex_iterator it(text.begin(), text.end(), failed), end; it != end; ++it) out.insert((*it)[1]);
        return out;
    }

    fs::path dir;
};

struct Flaw {
    const char* module;
    std::set<std::string> failing;
};

void PrintTo(const Flaw& flaw, std::ostream* os) { *os << flaw.module; }

class FlawedModule : public Validate, public ::testing::WithParamInterface<Flaw> {};

TEST_P(FlawedModule, FailsExactlyTheChecksMeantToCatchIt)
{
    const std::string module = std::string(FLAWED_MODULES) + "/" + GetParam().module + ".so";
    const Result r = Run("'" + module + "' --level 5 --seed 2026 --json '" + (dir / "report.json").string() + "'");
    EXPECT_EQ(r.status, GetParam().failing.empty() ? 0 : 1) << r.out;
    EXPECT_EQ(Failed(dir / "report.json"), GetParam().failing) << r.out;
    for (const std::string& check : GetParam().failing)
        EXPECT_NE(r.out.find("FAIL " + check), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Flaws, FlawedModule,
    ::testing::Values(Flaw{"flawed_clean", {}}, Flaw{"flawed_scenario", {"save-load-save"}},
                      Flaw{"flawed_stale_craft", {"craft-churn"}}, Flaw{"flawed_throws", {"hostile-scenario"}},
                      Flaw{"flawed_definition", {"class-definition"}}, Flaw{"flawed_leak", {"unload-memory"}},
                      Flaw{"flawed_slow", {"callback-timing"}}, Flaw{"flawed_clock", {"determinism"}},
                      Flaw{"flawed_keys", {"hostile-keys"}}, Flaw{"flawed_dialog", {"hostile-dialog"}},
                      Flaw{"flawed_unload", {"unload-cycles"}}, Flaw{"flawed_handle", {"hostile-keys"}}),
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
    EXPECT_NE(read_file(junit).find("tests=\"5\" failures=\"0\""), std::string::npos) << read_file(junit);
    // Written through a temporary file that is gone once renamed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 3) << "stdout and the two reports";
}

TEST_F(Validate, MervexPassesTheHighestLevel)
{
    const Result r = Run(std::string("'") + MERVEX_MODULE_PATH + "' --level 10 --seed 10");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("11 checks, 0 failed"), std::string::npos) << r.out;
}

TEST_F(Validate, CommandLineItCannotFollowGivesStatusTwoAndNoReport)
{
    for (const std::string& args : {std::string("--level 11 x"), std::string("--check nothing x"),
                                    std::string("--seed -1 x"), std::string("one two"),
                                    "x --junit '" + (dir / "no" / "such" / "folder.xml").string() + "'"}) {
        const Result r = Run(args + " --json '" + (dir / "r.json").string() + "'");
        EXPECT_EQ(r.status, 2) << args << ": " << r.out;
        EXPECT_FALSE(fs::exists(dir / "r.json")) << args;
    }
}

}  // namespace
