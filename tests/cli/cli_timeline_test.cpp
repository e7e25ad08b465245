// The timeline and command-line parsing of simhost-run: what a person
// writes becomes the right action, and anything else a one-line reason.
#include <gtest/gtest.h>

#include "options/options.h"
#include "options/thruster_groups.h"
#include "options/timeline.h"

namespace {

using app::ActionKind;
using app::parse_action;

TEST(CliKeys, NamesAndModifiersGiveDirectInputCodes)
{
    EXPECT_EQ(app::parse_key("K").key, 0x25u);
    EXPECT_EQ(app::parse_key("l").key, 0x26u);
    EXPECT_EQ(app::parse_key("F").key, 0x21u);
    EXPECT_EQ(app::parse_key("Space").key, 0x39u);
    EXPECT_EQ(app::parse_key("1").key, 0x02u);
    EXPECT_EQ(app::parse_key("0").key, 0x0Bu);
    EXPECT_EQ(app::parse_key("0x25").key, 0x25u);
    // The code set numbers the keys along the rows of the keyboard.
    const std::pair<const char*, DWORD> rows[] = {{"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
    for (const auto& [row, first] : rows)
        for (DWORD i = 0; row[i]; ++i) EXPECT_EQ(app::parse_key(std::string(1, row[i])).key, first + i) << row[i];
    for (DWORD f = 1; f <= 10; ++f) EXPECT_EQ(app::parse_key("F" + std::to_string(f)).key, 0x3A + f);
    EXPECT_EQ(app::parse_key("255").key, 255u);
    const app::KeyCombo k = app::parse_key("Shift+Ctrl+L");
    EXPECT_EQ(k.key, 0x26u);
    EXPECT_EQ(k.modifiers, (std::vector<DWORD>{0x2A, 0x1D}));
    // A press is named as the parser reads it back, whoever made it.
    EXPECT_EQ(app::parse_key("shift+rctrl+space").name(), "Shift+RCtrl+Space");
    EXPECT_EQ(app::parse_key("shift+l").text(), "key shift+l") << "as written";
    EXPECT_EQ(app::KeyCombo(0x25, 0x38).text(), "key Alt+K");
    EXPECT_EQ(app::KeyCombo(0xF0, 0).text(), "key 0xF0");
    EXPECT_EQ(app::parse_key("RCtrl+Space").modifiers, (std::vector<DWORD>{0x9D}));
    EXPECT_EQ(app::parse_key("Alt+K").modifiers, (std::vector<DWORD>{0x38}));

    EXPECT_THROW(app::parse_key("Hyper+K"), std::invalid_argument);
    EXPECT_THROW(app::parse_key("0x100"), std::invalid_argument);
    EXPECT_THROW(app::parse_key("Shift+"), std::invalid_argument);
    EXPECT_THROW(app::parse_key(""), std::invalid_argument);
}

TEST(CliGroups, ReadableNamesFollowTheHostsTypeNumbers)
{
    EXPECT_EQ(app::parse_group("main"), THGROUP_MAIN);
    EXPECT_EQ(app::parse_group("Pitch-Up"), THGROUP_ATT_PITCHUP);
    EXPECT_EQ(app::parse_group("translate-down"), THGROUP_ATT_DOWN);  // 11 pushes toward -y
    EXPECT_EQ(app::parse_group("translate-up"), THGROUP_ATT_UP);      // 12 toward +y
    EXPECT_EQ(app::parse_group("translate-right"), THGROUP_ATT_RIGHT);
    EXPECT_EQ(app::parse_group("translate-back"), THGROUP_ATT_BACK);
    EXPECT_EQ(app::parse_group("13"), THGROUP_ATT_FORWARD);
    EXPECT_THROW(app::parse_group("15"), std::invalid_argument);
    EXPECT_THROW(app::parse_group("warp"), std::invalid_argument);
    for (int t = 0; t <= 14; ++t) EXPECT_EQ(app::parse_group(app::group_name(THGROUP_TYPE(t))), THGROUP_TYPE(t));
}

TEST(CliActions, CommandLineForms)
{
    const app::Action key = parse_action("5:key:Shift+L@Mervex-2", "--at");
    EXPECT_EQ(key.kind, ActionKind::key);
    EXPECT_DOUBLE_EQ(key.time, 5);
    EXPECT_EQ(key.craft, "Mervex-2");
    EXPECT_EQ(key.key.key, 0x26u);

    const app::Action thrust = parse_action("10:thrust:main=1:for=30", "--at");
    EXPECT_EQ(thrust.kind, ActionKind::thrust);
    EXPECT_EQ(thrust.group, THGROUP_MAIN);
    EXPECT_DOUBLE_EQ(thrust.level, 1);
    EXPECT_DOUBLE_EQ(thrust.duration, 30);
    EXPECT_TRUE(thrust.craft.empty());
    EXPECT_LT(parse_action("1:thrust:yaw-left=0.25", "--at").duration, 0) << "no for=: holds until changed";

    EXPECT_EQ(parse_action("3:click:Deploy", "--at").button, "Deploy") << "matched against the open dialog later";
    EXPECT_EQ(parse_action("7.5:save:mid.scn", "--at").name, "mid.scn");
    EXPECT_EQ(parse_action("7.5:picture", "--at").kind, ActionKind::picture);
    const app::Action focus = parse_action("2:focus:Mervex-2", "--at");
    EXPECT_EQ(focus.kind, ActionKind::focus);
    EXPECT_EQ(focus.craft, "Mervex-2");
}

TEST(CliActions, BadSpecsSayWhereAndWhy)
{
    const char* bad[] = {
        "-1:key:K",              // negative time
        "x:key:K",               // not a time
        "5:key",                 // no key
        "5:key:K:extra",         // too many fields
        "5:jump:K",              // no such action
        "5:thrust:main=1.5",     // level above 1
        "5:thrust:main",         // no level
        "5:thrust:main=1:for=0", // empty duration
        "5:thrust:main=1:fr=3",  // misspelt
        "5:thrust:sideways=1",   // no such group
        "5:click: ",             // no button
        "5:click:DEPLOY@Mervex-1",  // clicks go to the dialog
        "5:key:K@",              // empty craft
        "5:save",                // no file
        "5:focus",               // no craft
        "5:focus:A@B",           // the craft named twice
        "5:picture:a/b",         // a picture name is not a path
        "5:save:../../home/.bashrc",  // nor is a save's: it stays in the output folder
        "5:save:/tmp/x.scn",
        "5:save:..",
    };
    for (const char* entry : bad) {
        SCOPED_TRACE(entry);
        try {
            parse_action(entry, "--at");
            ADD_FAILURE() << "accepted";
        } catch (const app::TimelineError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind("--at: ", 0), 0u) << what;
            EXPECT_NE(what.find(entry), std::string::npos) << what;
            EXPECT_EQ(what.find('\n'), std::string::npos) << what;
        }
    }
}

TEST(CliTimelineFile, BlankSeparatedFieldsCommentsAndLineNumbers)
{
    const auto actions = app::parse_timeline("# deploy and burn\n"
                                             "0   key    K\n"
                                             "\n"
                                             "5   key    Shift+L  @Mervex-2   # lights\n"
                                             "10  thrust main=1 for=30\r\n",
                                             "burn.timeline");
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_EQ(actions[1].craft, "Mervex-2");
    EXPECT_EQ(actions[1].source(), "burn.timeline:4");
    EXPECT_DOUBLE_EQ(actions[2].duration, 30);

    try {
        app::parse_timeline("0 key K\n3 thrust main=2\n", "t.txt");
        ADD_FAILURE() << "accepted";
    } catch (const app::TimelineError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("t.txt:2: ", 0), 0u) << e.what();
    }
    EXPECT_THROW(app::read_timeline_file("/nonexistent/timeline"), app::TimelineError);
}

TEST(CliOptions, ValuesAndMistakes)
{
    app::Options d;
    d.module = "mod.so";
    const app::Options o = app::parse_options(
        {"s.scn", "-d", "30", "--step=0.1,0.5,2", "-w", "10", "--at", "0:key:K", "--json", "t.json", "-q"}, d);
    EXPECT_EQ(o.scenario, "s.scn");
    EXPECT_EQ(o.module, "mod.so");
    EXPECT_DOUBLE_EQ(o.duration, 30);
    EXPECT_EQ(o.steps, (std::vector<double>{0.1, 0.5, 2}));
    EXPECT_DOUBLE_EQ(o.warp, 10);
    EXPECT_EQ(o.actions.size(), 1u);
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(app::parse_options({"--help"}, d).help);

    const std::vector<std::vector<std::string>> bad = {
        {},                              // no scenario
        {"a.scn", "b.scn"},              // two
        {"a.scn", "--frobnicate"},       // unknown option
        {"a.scn", "--step", "0.1,,2"},   // empty step
        {"a.scn", "--step", "0"},        // zero step
        {"a.scn", "--warp", "-2"},       // negative warp
        {"a.scn", "-d"},                 // missing value
        {"a.scn", "-d", "5", "--at", "9:key:K"},  // after the end
        {"a.scn", "--quiet=yes"},        // a flag with a value
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.empty() ? "(none)" : args.back());
        EXPECT_THROW(app::parse_options(args, d), app::UsageError);
    }
}

}  // namespace
