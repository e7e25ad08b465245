// A folder of vessel modules, one library per class, each named after the
// class it defines: DIR/CLASS.so (DIR/CLASS.dll on Windows).
#pragma once

#include <string>

namespace sim {

// The file suffix of a module library on this platform.
extern const char* const module_suffix;

// The library of `class_name` in `folder`. Throws LoadError when the class
// name could not be a plain file name (empty, a path, a leading dot, a
// character outside letters, digits, '_', '-' and '.') or when there is no
// such file.
std::string module_file(const std::string& folder, const std::string& class_name);

}  // namespace sim
