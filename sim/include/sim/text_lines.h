// Text files read line by line, and lines shown back to a person in a
// message.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sim {

// The lines of `text`, without their ends. A line ends at LF, CR LF or a
// lone CR (as old Mac files have it); a UTF-8 byte order mark at the start
// belongs to no line.
std::vector<std::string> split_lines(const std::string& text);

// `line` as a message may hold it: one line of printable text, at most
// `limit` characters of the original followed by "..." and its length.
// Control bytes and bytes that are not UTF-8 are shown escaped (\t, \r, \0,
// \xNN), as is the backslash itself (\\).
std::string shown_text(const std::string& line, std::size_t limit = 120);

}  // namespace sim
