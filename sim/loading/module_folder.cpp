#include "sim/module_folder.h"

#include <cctype>
#include <filesystem>

#include "sim/module.h"
#include "util/text_lines.h"

namespace sim {

#if defined(_WIN32)
const char* const module_suffix = ".dll";
#else
const char* const module_suffix = ".so";
#endif

std::string module_file(const std::string& folder, const std::string& class_name)
{
    // The name comes from a scenario file: it must not lead out of the folder.
    bool plain = !class_name.empty() && class_name[0] != '.';
    for (char c : class_name)
        plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.');
    if (!plain) throw LoadError("the class name \"" + shown_text(class_name) + "\" cannot name a module file");
    const std::filesystem::path file = std::filesystem::path(folder) / (class_name + module_suffix);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        throw LoadError("no module for the class " + class_name + ": " + file.string() + " does not exist");
    return file.string();
}

}  // namespace sim
