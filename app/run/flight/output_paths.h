// Every file a run may write, named before the run starts, so that two
// outputs never share a file, no output replaces an input, and a run is
// refused before it starts rather than after.
#pragma once

#include <string>
#include <vector>

#include "options/options.h"

namespace app {

// A file name of an option or action: relative ones lie in the output folder.
std::string output_path(const Options& options, const std::string& file);
// Where the scenario goes at the end.
std::string final_save_path(const Options& options);
// The file of a picture action drawn at its time.
std::string picture_path(const Options& options, const Action& picture);

// The pictures drawn at the end, in the output folder.
extern const char* const end_pictures[4];

struct PlannedOutput {
    std::string path;
    std::string what;  // for messages: "--save", "--at 5:save:mid.scn", ...
};
std::vector<PlannedOutput> planned_outputs(const Options& options);

// Throws UsageError naming both when two outputs resolve to one file, or an
// output to an input (the scenario, a timeline, the module or its
// resources); also for an output in the modules folder or a .obj file below
// the mesh folder, which a run could load.
void check_output_paths(const Options& options);

// One line on what a run that failed did and did not write, to follow its
// reason: "; written: a, b; not written: c". Empty when nothing was meant
// to be written yet.
std::string outputs_note(const std::vector<std::string>& written, const std::vector<std::string>& not_written);

}  // namespace app
