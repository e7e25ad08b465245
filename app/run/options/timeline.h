// Actions at given simulated times: key presses, dialog clicks, thruster
// levels, moving the focus, saves and pictures.
//
// On the command line an action is one word, fields joined by ':' and an
// optional "@CRAFT" at the end:
//   5:key:Shift+L@Craft-2   3:click:OK       10:thrust:main=1:for=30
//   20:focus:Craft-2
// In a timeline file each line holds the same fields separated by blanks:
//   5  key     Shift+L  @Craft-2
//   10 thrust  main=1   for=30
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host_types.h"
#include "keys/key_combo.h"

namespace app {

// A timeline that cannot be used; what() is one line.
struct TimelineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class ActionKind { key, click, thrust, focus, save, picture };

struct Action {
    double time = 0;     // seconds after the start of the run
    ActionKind kind = ActionKind::key;
    std::string craft;   // empty: the craft with the focus; for focus, the craft that gets it
    KeyCombo key;
    std::string button;  // as written: a caption, a control id or "close"
    THGROUP_TYPE group = THGROUP_MAIN;
    double level = 0;
    double duration = -1;  // seconds the level holds; below 0 until changed
    std::string name;      // a plain file name in the output folder: the save, or the picture
    std::string text;      // as written
    // Where it was written, for messages: "--at", or a timeline file, shared
    // by all its actions so that an action's size does not grow with the
    // file's path, and the line there.
    std::shared_ptr<const std::string> origin;
    int line = 0;  // 0: not a file's

    std::string source() const;  // "--at", "file:line"
};

// `source` is where the entry came from ("--at").
Action parse_action(const std::string& entry, const std::string& source);
std::vector<Action> parse_timeline(const std::string& text, const std::string& file);
std::vector<Action> read_timeline_file(const std::string& path);

std::string describe(const Action& action);

}  // namespace app
