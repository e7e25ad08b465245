#include "files/same_file.h"

#include <cctype>
#include <filesystem>

namespace app {

namespace fs = std::filesystem;

std::string file_identity(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec) p = fs::absolute(path).lexically_normal();
    std::string id = p.generic_string();
#if defined(_WIN32)
    for (char& c : id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
    return id;
}

bool same_file(const std::string& a, const std::string& b)
{
    if (file_identity(a) == file_identity(b)) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;  // hard links
}

}  // namespace app
