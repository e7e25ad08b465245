// A file a test reads back whole: what a program under test wrote.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// Its bytes, or "" when it cannot be read (a file that was never written).
inline std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
