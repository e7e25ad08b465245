// Text a POSIX shell reads back as exactly one word, whatever it holds.
#pragma once

#include <string>

namespace validate {

inline std::string shell_quoted(const std::string& word)
{
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace validate
