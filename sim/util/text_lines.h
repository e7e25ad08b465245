// Text files read line by line, and lines shown back to a person in a
// message.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sim {

// Calls `visit(line)` with each line of `text`, without its end, one at a
// time (a reader holds no copy of the whole file's lines). A line ends at
// LF, CR LF or a lone CR (as old Mac files have it); a UTF-8 byte order mark
// at the start belongs to no line.
template <class Visit>
void for_each_line(const std::string& text, Visit visit)
{
    std::size_t at = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            visit(text.substr(at));
            break;
        }
        visit(text.substr(at, end - at));
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// The lines of `text` as for_each_line gives them.
std::vector<std::string> split_lines(const std::string& text);

// `line` as a message may hold it: one line of printable text, at most
// `limit` characters of the original followed by "..." and its length.
// Control bytes and bytes that are not UTF-8 are shown escaped (\t, \r, \0,
// \xNN), as is the backslash itself (\\).
std::string shown_text(const std::string& line, std::size_t limit = 120);

// `text` as it may reach a terminal: each byte a terminal could take for a
// command (control characters but line feed and tab, DEL, the C1 controls)
// and each byte that is not UTF-8 is shown as \xNN; the rest stays as it is,
// so text shown_text escaped already passes unchanged. For everything a
// program prints that may hold bytes from a file or a module.
std::string terminal_text(const std::string& text);

}  // namespace sim
