// Whether two paths name one file, as far as that can be told before either
// exists: for programs that must never write an output over an input or
// over another output.
#pragma once

#include <string>

namespace app {

// The file a path names: absolute, links in its existing part resolved,
// "." and ".." taken out (and case folded where file names ignore it).
std::string file_identity(const std::string& path);

// Same identity, or hard links of one file.
bool same_file(const std::string& a, const std::string& b);

}  // namespace app
