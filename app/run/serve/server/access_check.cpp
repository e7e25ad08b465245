#include "serve/server/access_check.h"

#include <random>

namespace app {

std::string make_token()
{
    std::random_device random;
    static const char hex[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t word = random();
        for (int j = 0; j < 8; ++j, word >>= 4) token += hex[word & 0xF];
    }
    return token;
}

namespace {
// The value of `name` in a list of `sep`-separated name=value pairs.
bool FindValue(std::string_view list, std::string_view name, char sep, std::string_view& value)
{
    while (!list.empty()) {
        const size_t end = list.find(sep);
        std::string_view pair = list.substr(0, end);
        while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
        const size_t eq = pair.find('=');
        if (eq != std::string_view::npos && pair.substr(0, eq) == name) {
            value = pair.substr(eq + 1);
            return true;
        }
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}
}  // namespace

std::string_view target_path(std::string_view target) { return target.substr(0, target.find('?')); }

bool AccessCheck::Matches(std::string_view candidate) const
{
    // The same time whatever the candidate holds, so it cannot be guessed a digit at a time.
    if (candidate.size() != token_.size()) return false;
    unsigned char diff = 0;
    for (size_t i = 0; i < token_.size(); ++i) diff |= static_cast<unsigned char>(candidate[i] ^ token_[i]);
    return diff == 0;
}

bool AccessCheck::has_token(std::string_view target, std::string_view cookie) const
{
    std::string_view value;
    const size_t q = target.find('?');
    if (q != std::string_view::npos && FindValue(target.substr(q + 1), "token", '&', value) && Matches(value))
        return true;
    return FindValue(cookie, token_cookie, ';', value) && Matches(value);
}

bool AccessCheck::host_allowed(std::string_view host) const
{
    const std::string port = ":" + std::to_string(port_);
    return host == "127.0.0.1" + port || host == "localhost" + port;
}

bool AccessCheck::origin_allowed(std::string_view origin, bool required) const
{
    if (origin.empty()) return !required;
    const std::string port = ":" + std::to_string(port_);
    return origin == "http://127.0.0.1" + port || origin == "http://localhost" + port;
}

}  // namespace app
