#include "options/thruster_groups.h"

#include <cctype>
#include <stdexcept>

#include "util/text_lines.h"

namespace app {

namespace {
// Index = type number. Type 11 pushes toward -y and 12 toward +y.
const char* const names[] = {
    "main",          "retro",           "hover",           "pitch-up",       "pitch-down",
    "yaw-left",      "yaw-right",       "bank-left",       "bank-right",     "translate-right",
    "translate-left", "translate-down", "translate-up",    "translate-forward", "translate-back",
};
constexpr int count = sizeof names / sizeof names[0];
}  // namespace

THGROUP_TYPE parse_group(const std::string& name)
{
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int i = 0; i < count; ++i)
        if (lower == names[i]) return static_cast<THGROUP_TYPE>(i);
    if (!lower.empty() && lower.size() <= 2 && std::isdigit(static_cast<unsigned char>(lower[0])) &&
        (lower.size() == 1 || std::isdigit(static_cast<unsigned char>(lower[1])))) {
        const int n = std::stoi(lower);
        if (n < count) return static_cast<THGROUP_TYPE>(n);
    }
    throw std::invalid_argument("unknown thruster group \"" + sim::shown_text(name) + "\" (one of: " + group_names_help() + ")");
}

std::string group_name(THGROUP_TYPE type)
{
    const int t = static_cast<int>(type);
    return t >= 0 && t < count ? names[t] : "type " + std::to_string(t);
}

std::string group_names_help()
{
    std::string out;
    for (int i = 0; i < count; ++i) out += std::string(i ? ", " : "") + names[i];
    return out + ", or the type number 0-14";
}

}  // namespace app
