#include "interface/date.h"

#include <cstring>

namespace sim {

int date_to_int(const char* text)
{
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!text || std::strlen(text) < 10) return 0;
    int month = -1;
    for (int i = 0; i < 12; ++i)
        if (std::strncmp(text, months[i], 3) == 0) month = i;
    if (month < 0 || text[3] != ' ') return 0;
    const char* p = text + 4;
    while (*p == ' ') ++p;  // the compiler's own date pads the day with a blank
    int day = 0, digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 2; ++p, ++digits) day = day * 10 + (*p - '0');
    if (digits == 0 || *p != ' ') return 0;
    ++p;
    int year = 0;
    for (digits = 0; *p >= '0' && *p <= '9'; ++p, ++digits) year = year * 10 + (*p - '0');
    if (digits != 4 || *p != '\0') return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day < 1 || day > days[month] || (month == 1 && day == 29 && !leap)) return 0;
    return year * 10000 + (month + 1) * 100 + day;
}

}  // namespace sim
