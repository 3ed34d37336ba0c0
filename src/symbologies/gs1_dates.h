// The dates and times of GS1 data, as digits: YYMMDD, YYYYMMDD, HH, HHMI and their parts.
#pragma once

#include <string_view>

namespace varnel {

// Whether the text is digits alone, and the number they write, which stops at 999999999 rather than
// overflow: the parts of GS1's dates, times and counts.
bool AllDigits(std::string_view text);
int NumberOf(std::string_view digits);

// Six digits YYMMDD naming a day of the calendar; with dayMayBeZero, DD 00 stands for the month as
// a whole (a best-before month) and is a date too.
bool IsGs1ShortDate(std::string_view yymmdd, bool dayMayBeZero);

// Eight digits YYYYMMDD naming a day of the Gregorian calendar.
bool IsGs1LongDate(std::string_view yyyymmdd);

// Two digits of an hour (00 to 23), of minutes or of seconds (00 to 59), and four of a time of day
// HHMI.
bool IsGs1Hour(std::string_view hh);
bool IsGs1Minute(std::string_view mi);
bool IsGs1TimeOfDay(std::string_view hhmi);

}  // namespace varnel
