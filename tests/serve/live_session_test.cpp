// The live view's protocol through the host: page messages checked before
// anything changes, access refused to strangers, and a live session's
// recorded timeline replayed by a batch run to the same saved bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "options/options.h"
#include "flight/run.h"
#include "serve/server/access_check.h"
#include "serve/session/live_controller.h"
#include "serve/session/live_session.h"
#include "serve/session/page_message.h"

namespace fs = std::filesystem;

namespace {
std::string Read(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

app::Options LiveOptions(const std::string& scenario, const fs::path& out, std::vector<double> steps = {0.1})
{
    app::Options o;
    o.scenario = std::string(SIMHOST_SCENARIOS) + "/" + scenario;
    o.modules = SIMHOST_MODULES;
    o.meshes = SIMHOST_MESHES;
    o.out_dir = out.string();
    o.steps = std::move(steps);
    o.serve = true;
    return o;
}

fs::path Fresh(const std::string& name)
{
    // The process id keeps runs of the suite from two build trees apart.
    const fs::path p = fs::path(testing::TempDir()) / ("live_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    return p;
}
}  // namespace

TEST(PageMessage, RefusesWhatIsNotAWellFormedMessage)
{
    const char* bad[] = {
        "",
        "not json",
        "[1]",
        "{}",
        R"({"type":7})",
        R"({"type":"jump"})",
        R"({"type":"pause","extra":1})",
        R"({"type":"key","craft":"Mervex-1"})",
        R"({"type":"key","craft":"Mervex-1","code":256})",
        R"({"type":"key","craft":"Mervex-1","code":-1})",
        R"({"type":"key","craft":"Mervex-1","code":1.5})",
        R"({"type":"key","craft":"Mervex-1","code":37,"modifiers":[37]})",
        R"({"type":"key","craft":"Mervex-1","code":37,"modifiers":[42,42]})",
        R"({"type":"key","craft":"a b","code":37})",
        R"({"type":"key","craft":"x@y","code":37})",
        R"({"type":"key","craft":"","code":37})",
        R"({"type":"click","button":"1003; rm"})",
        R"({"type":"click","button":"123456"})",
        R"({"type":"thrust","craft":"T","group":"warp-drive","level":1})",
        R"({"type":"thrust","craft":"T","group":"main","level":1.01})",
        R"({"type":"thrust","craft":"T","group":"main","level":"1"})",
        R"({"type":"warp","factor":1000})",
        R"({"type":"warp","factor":0.5})",
    };
    for (const char* m : bad) EXPECT_THROW(app::parse_page_message(m), app::PageMessageError) << m;
    EXPECT_THROW(app::parse_page_message(R"({"type":"pause","pad":")" + std::string(2000, 'x') + "\"}"),
                 app::PageMessageError);
}

TEST(PageMessage, ActionsBecomeTheTimelineEntriesABatchRunReads)
{
    const std::pair<const char*, const char*> table[] = {
        {R"({"type":"key","craft":"Mervex-1","code":37})", "key:K@Mervex-1"},
        {R"({"type":"key","craft":"M","code":57,"modifiers":[157,54]})", "key:RCtrl+RShift+Space@M"},
        {R"({"type":"key","craft":"M","code":55,"modifiers":[29,42]})", "key:Ctrl+Shift+0x37@M"},
        {R"({"type":"focus","craft":"Tank-1"})", "focus:Tank-1"},
        {R"({"type":"click","button":"1003"})", "click:1003"},
        {R"({"type":"click","button":"close"})", "click:close"},
        {R"({"type":"thrust","craft":"Tank-1","group":"main","level":0.25})", "thrust:main=0.25@Tank-1"},
        {R"({"type":"thrust","craft":"T","group":"pitch-up","level":-0.0})", "thrust:pitch-up=0@T"},
        {R"({"type":"quit"})", ""},
    };
    for (const auto& [message, entry] : table) EXPECT_EQ(app::timeline_entry(app::parse_page_message(message)), entry);
}

TEST(AccessCheck, OnlyThePageWithTheTokenOnThisServer)
{
    const app::AccessCheck a("0123456789abcdef0123456789abcdef", 8123);
    EXPECT_TRUE(a.has_token("/?token=0123456789abcdef0123456789abcdef", ""));
    EXPECT_TRUE(a.has_token("/live.js?x=1&token=0123456789abcdef0123456789abcdef", ""));
    EXPECT_TRUE(a.has_token("/three.core.js", "a=b; simhost_token=0123456789abcdef0123456789abcdef"));
    EXPECT_FALSE(a.has_token("/", ""));
    EXPECT_FALSE(a.has_token("/?token=0123456789abcdef0123456789abcdeF", ""));
    EXPECT_FALSE(a.has_token("/?token=0123456789abcdef0123456789abcde", ""));
    EXPECT_FALSE(a.has_token("/?xtoken=0123456789abcdef0123456789abcdef", "simhost_token="));
    EXPECT_TRUE(a.host_allowed("127.0.0.1:8123"));
    EXPECT_TRUE(a.host_allowed("localhost:8123"));
    for (const char* host : {"", "127.0.0.1", "127.0.0.1:8124", "evil.example:8123", "localhost.evil.example:8123"})
        EXPECT_FALSE(a.host_allowed(host)) << host;
    EXPECT_TRUE(a.origin_allowed("http://127.0.0.1:8123", true));
    EXPECT_TRUE(a.origin_allowed("", false));
    EXPECT_FALSE(a.origin_allowed("", true));
    EXPECT_FALSE(a.origin_allowed("http://evil.example", false));
    EXPECT_FALSE(a.origin_allowed("null", false));
    EXPECT_NE(app::make_token(), app::make_token());
    EXPECT_EQ(app::make_token().size(), 32u);
}

// Keys, a click and thrust taken at odd moments, with a step list whose sums
// are not round: the batch run the timeline names saves the same bytes.
TEST(LiveSession, ARecordedSessionReplaysToTheSameBytes)
{
    const fs::path out = Fresh("replay");
    std::string command;
    {
        app::LiveSession s(LiveOptions("mervex_and_tank.scn", out, {0.1, 0.07}));
        // As with a page open: visuals, and frames animated between steps.
        s.show_visuals(true);
        EXPECT_TRUE(s.host().has_visual(s.host().all_craft()[1]));
        auto steps = [&](int n) {
            for (int i = 0; i < n; ++i) {
                s.step();
                s.animate_for_frame();
            }
        };
        steps(3);
        EXPECT_NEAR(s.act("key:K@Mervex-1"), 0.27 + 0.07, 1e-12);
        EXPECT_NEAR(s.act("key:Ctrl+Space@Mervex-1"), 0.34, 1e-12);  // the same step end
        steps(7);
        s.act("focus:Tank-1");
        s.act("thrust:main=0.5");  // to the craft that will have the focus by then
        steps(1);
        EXPECT_EQ(s.host().focus().name(), "Tank-1");
        s.act("click:1004");
        s.show_visuals(false);
        EXPECT_FALSE(s.host().has_visual(s.host().all_craft()[1]));
        steps(5);
        s.request_end();
        EXPECT_FALSE(s.ended());  // the clock is not on a step end the replay would land on
        s.step();
        EXPECT_TRUE(s.ended());
        EXPECT_EQ(s.stopped(), "");
        s.finish();
        command = s.replay_command();
        EXPECT_LT(s.host().all_craft()[0].animation_states()[0], 1);
        EXPECT_GT(s.host().all_craft()[1].thruster_levels()[0], 0);
    }
    const std::string timeline = Read(out / "session.timeline");
    EXPECT_NE(timeline.find("# Replay: " + command), std::string::npos);
    EXPECT_NE(timeline.find(" key Ctrl+Space @Mervex-1\n"), std::string::npos) << timeline;
    EXPECT_NE(timeline.find(" focus Tank-1\n"), std::string::npos) << timeline;

    app::Options batch = LiveOptions("mervex_and_tank.scn", out / "replay", {0.1, 0.07});
    batch.serve = false;
    batch.pictures = false;
    batch.quiet = true;
    batch.actions = app::read_timeline_file((out / "session.timeline").string());
    const size_t d = command.find("--duration ") + 11;
    EXPECT_EQ(command.substr(d, command.find(' ', d) - d), "1.46");  // short, and lands where the session ended
    batch.duration = std::stod(command.substr(d, command.find(' ', d) - d));
    app::run(batch);
    EXPECT_EQ(Read(out / "replay" / "final.scn"), Read(out / "final.scn"));
}

TEST(LiveController, BadMessagesAreAnsweredAndChangeNothing)
{
    const fs::path out = Fresh("controller");
    app::LiveSession s(LiveOptions("stowed.scn", out));
    app::LiveController c(s);
    const std::string before = Read(out / "session.timeline");
    for (const char* m :
         {"{", R"({"type":"key","craft":"Nobody","code":37})", R"({"type":"step"})",
          R"({"type":"thrust","craft":"Mervex-1","group":"main","level":2})", R"({"type":"focus","craft":"Nobody"})"}) {
        const auto answer = nlohmann::json::parse(c.handle(m));
        EXPECT_EQ(answer["type"], "error") << m;
        EXPECT_FALSE(answer["error"].get<std::string>().empty());
    }
    EXPECT_EQ(Read(out / "session.timeline"), before);
    EXPECT_EQ(s.steps(), 0);

    EXPECT_EQ(nlohmann::json::parse(c.handle(R"({"type":"pause"})"))["type"], "ok");
    EXPECT_EQ(nlohmann::json::parse(c.handle(R"({"type":"key","craft":"Mervex-1","code":37})"))["at"], 0.1);
    EXPECT_EQ(nlohmann::json::parse(c.handle(R"({"type":"step"})"))["type"], "ok");
    EXPECT_EQ(s.notes().back(), "t=0.1 s: key K to Mervex-1 (consumed)");
    EXPECT_EQ(nlohmann::json::parse(c.handle(R"({"type":"save"})"))["saved"], (out / "live-1.scn").string());
    EXPECT_TRUE(fs::exists(out / "live-1.scn"));
    // Warp takes more steps a second, never longer ones.
    const auto start = app::LiveController::Clock::now();
    c.handle(R"({"type":"warp","factor":100})");
    c.handle(R"({"type":"run"})");
    c.advance(start + std::chrono::milliseconds(20), 1000);
    EXPECT_GE(s.steps(), 1 + 15);
    EXPECT_LE(s.steps(), 1 + 20);
    EXPECT_NEAR(s.time(), 0.1 * double(s.steps()), 1e-9);
}

// A module fault stops the run as a batch run stops: the state reached is
// saved and the fault named, and the page is told.
TEST(LiveSession, AModuleFaultStopsTheRunAndThePageShowsIt)
{
    const fs::path out = Fresh("fault");
    fs::create_directories(out);
    std::ofstream(out / "faulty.scn") << "BEGIN_VESSEL F-1:Faulty\n  FAULT animation\n  VEL 1 0 0\nEND_VESSEL\n";
    app::Options o = LiveOptions("stowed.scn", out);
    o.scenario = (out / "faulty.scn").string();
    o.module = FAULTY_MODULE_PATH;
    app::LiveSession s(o);
    app::LiveController c(s);
    s.step();
    EXPECT_NE(s.stopped().find("SetAnimation(7, 0.5) on F-1"), std::string::npos) << s.stopped();
    EXPECT_EQ(nlohmann::json::parse(c.handle(R"({"type":"key","craft":"F-1","code":37})"))["type"], "error");
    const auto state = nlohmann::json::parse(c.state());
    EXPECT_EQ(state["stopped"], s.stopped());
    s.request_end();
    EXPECT_TRUE(s.ended());
    s.finish();
    EXPECT_NE(Read(out / "final.scn").find("POS 0.10000000000000001 0 0"), std::string::npos);
}
