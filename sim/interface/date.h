#pragma once

namespace sim {
// "Mmm dd yyyy" (English month abbreviation, day, four-digit year) as
// yyyymmdd; 0 for text that is not such a date.
int date_to_int(const char* text);
}
