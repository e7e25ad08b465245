// The stand-in host's scenario files: a header with the simulation time and
// one block per craft, holding the craft's lines as its module reads them.
//
//   # comments and blank lines are ignored
//   BEGIN_SCENARIO
//     TIME 0
//   END_SCENARIO
//   BEGIN_VESSEL Craft-1:SomeClass
//     POS 0 0 0
//     A_LINE_OF_THE_MODULE 1
//   END_VESSEL
//
// Lines are taken without their surrounding blanks. The header is optional
// and may appear once; keywords are matched exactly.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct ScenarioLine {
    std::string text;
    int line_no = 0;  // in the file, from 1
};

// A line of a craft's saved block, and whether the host wrote it (its own
// state lines) or the craft's module did.
struct SavedLine {
    std::string text;
    bool by_host = false;
};

// A scenario that cannot be read or loaded. what() is one line per problem,
// each "file:line: reason: text".
struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ScenarioVessel {
    std::string name;
    std::string class_name;
    int line_no = 0;  // of its BEGIN_VESSEL line
    std::vector<ScenarioLine> lines;
};

struct Scenario {
    std::string file;  // for messages
    double time = 0;
    std::vector<ScenarioVessel> vessels;  // in file order; names unique
};

// The most craft a scenario may hold. A craft takes what the host and its
// module keep for it (Mervex about 8 KB) however short its block, so this
// bounds the memory of a scenario of bare blocks.
constexpr std::size_t scenario_craft_limit = 10000;

// `file` names the text in messages; a scenario of more craft than the
// limit is refused at the first one too many.
Scenario parse_scenario(const std::string& text, const std::string& file);
// Throws ScenarioError also when the file cannot be opened.
Scenario read_scenario_file(const std::string& path);

// A header and the blocks, in the form parse_scenario reads back.
struct ScenarioText {
    double time = 0;
    struct Block {
        std::string name, class_name;
        std::vector<SavedLine> lines;
    };
    std::vector<Block> blocks;
};
// Throws std::invalid_argument for a name or line the file could not hold
// so that it reads back the same.
std::string format_scenario(const ScenarioText& scenario);

}  // namespace sim
