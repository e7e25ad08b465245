#include "options/decimal.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace app {

namespace {
size_t Digits(const std::string& s, size_t at)
{
    size_t n = 0;
    while (at + n < s.size() && std::isdigit(static_cast<unsigned char>(s[at + n]))) ++n;
    return n;
}
}  // namespace

bool parse_decimal(const std::string& text, double& out)
{
    size_t at = Digits(text, 0);
    size_t mantissa = at;
    if (at < text.size() && text[at] == '.') {
        const size_t fraction = Digits(text, at + 1);
        mantissa += fraction;
        at += 1 + fraction;
    }
    if (mantissa == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t sign = at + 1 < text.size() && (text[at + 1] == '+' || text[at + 1] == '-') ? 1 : 0;
        const size_t exponent = Digits(text, at + 1 + sign);
        if (exponent == 0) return false;
        at += 1 + sign + exponent;
    }
    if (at != text.size()) return false;
    errno = 0;
    const double v = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

}  // namespace app
