// Where the programs find what they use unless told otherwise: the modules
// folder, the meshes folder and the dialog picture, all relative to the
// program's own file. The build tree is laid out like an install tree
// (cmake/stand_in_layout.cmake), so a build and an install work alike, and
// either can be moved as a whole.
#pragma once

#include <filesystem>

namespace app {

// The running program's file, as the system knows it (/proc/self/exe,
// GetModuleFileNameW). Throws std::runtime_error when it cannot tell.
std::filesystem::path executable_file();

struct ProgramFolders {
    std::filesystem::path modules;  // module libraries, each with its compiled .res beside it
    std::filesystem::path meshes;   // the host's mesh folder, e.g. meshes/Daskern/Mervex.obj
    std::filesystem::path data;     // the rest of the shared files
};

// The folders that belong to the program at `executable`.
ProgramFolders program_folders(const std::filesystem::path& executable);

}  // namespace app
