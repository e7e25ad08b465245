// One craft's block of a scenario file, as the host hands it to the module's
// scenario callbacks (the FILEHANDLE they receive).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sim/scenario_file.h"

namespace sim {

struct VesselRecord;

class ScenarioBlock {
public:
    std::string file;                // for messages
    std::vector<ScenarioLine> lines;  // read: the craft's lines, in order
    std::vector<SavedLine> written;   // write: the lines as they will stand in the file

    // The next line into a buffer the module may read (and scribble on)
    // until the following call; false at the end of the block.
    bool next_line(char*& line);
    // Whether next_line has answered false already.
    bool ended() const { return ended_; }
    const ScenarioLine* current() const { return next_ == 0 ? nullptr : &lines[next_ - 1]; }
    void write(const std::string& key, const std::string& value);
    void write_host_line(const std::string& key, const std::string& value);

private:
    size_t next_ = 0;
    bool ended_ = false;
    std::vector<char> buffer_;
};

// What ParseScenarioLineEx gets as its status pointer while a block is read.
struct ParseStatus {
    VesselRecord* vessel = nullptr;
    ScenarioBlock* block = nullptr;
    // "file:line: message: text", the first max_errors of them; the rest
    // are only counted, so that a file of bad lines gives a short message.
    static constexpr std::size_t max_errors = 10;
    std::vector<std::string> errors;
    std::size_t more_errors = 0;
};

}  // namespace sim
