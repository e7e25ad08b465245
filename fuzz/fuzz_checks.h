// What every fuzz target asks of a message a person will read: one line of
// printable UTF-8 text of a sensible length, whatever the input held.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/utf8.h"

namespace fuzz {

inline void check_message(const std::string& message)
{
    bool readable = message.size() < 2000 && sim::valid_utf8(message) == message;
    for (char c : message) readable = readable && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F;
    if (readable) return;
    std::fprintf(stderr, "unreadable message (%zu bytes): %s\n", message.size(), message.c_str());
    std::abort();
}

}  // namespace fuzz
