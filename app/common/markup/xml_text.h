// Text for XML documents: the SVG pictures and the validator's JUnit report.
#pragma once

#include <string>

namespace app {

// Text as an attribute value or element content: markup characters
// escaped; bytes that are not UTF-8 and the characters XML does not allow
// (U+FFFE, U+FFFF) replaced by U+FFFD, control characters by '?'.
std::string xml_text(const std::string& text);

}  // namespace app
