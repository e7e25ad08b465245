// JSON as both programs write it. nlohmann-json holds the values and writes
// the strings, so a string of any bytes comes out one way in every file.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace app {

// Objects keep their keys in the order they were put in: the files' readers
// (and people) find them where they always were.
using Json = nlohmann::ordered_json;

// `value` on one line, with no spaces. Bytes that are not UTF-8 become
// U+FFFD, and every control character (DEL too) is escaped, so the text
// holds none. Floating-point numbers are written to `digits` significant
// digits as printf's %g writes them ("20", "0.25", "1.5e+12"), which keeps
// a file of many samples small; one that is not finite as null.
std::string json_text(const Json& value, int digits = 17);

}  // namespace app
