#include "markup/json_text.h"

#include <cmath>
#include <cstdio>

namespace app {

namespace {
std::string Number(double v, int digits)
{
    if (!std::isfinite(v)) return "null";
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    return text;
}

std::string Scalar(const Json& value)
{
    const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    // The library leaves DEL as it is; in its output the byte stands only
    // inside strings, as that character.
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\x7f') out += "\\u007f";
        else out += c;
    }
    return out;
}
}  // namespace

std::string json_text(const Json& value, int digits)
{
    // The library writes floating-point numbers in full; the containers are
    // walked here so that they keep the digits asked for.
    if (value.is_number_float()) return Number(value.get<double>(), digits);
    if (value.is_array()) {
        std::string out = "[";
        for (const Json& item : value) out += (out.size() > 1 ? "," : "") + json_text(item, digits);
        return out + "]";
    }
    if (value.is_object()) {
        std::string out = "{";
        for (const auto& [key, item] : value.items())
            out += (out.size() > 1 ? "," : "") + Scalar(key) + ":" + json_text(item, digits);
        return out + "}";
    }
    return Scalar(value);
}

}  // namespace app
