#include "symbologies/gs1_dates.h"

#include "base/text_routines.h"

namespace varnel {

int NumberOf(std::string_view digits) {
  constexpr int kSaturated = 999'999'999;
  int value = 0;
  for (const char c : digits) value = value > kSaturated / 10 ? kSaturated : value * 10 + DigitValue(c);
  return value;
}

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (DigitValue(c) < 0) return false;
  }
  return true;
}

namespace {

int DaysIn(int month, bool leapYear) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear ? 29 : kDays[month - 1];
}

bool IsDate(int month, int day, bool leapYear, bool dayMayBeZero) {
  if (month < 1 || month > 12) return false;
  if (day == 0) return dayMayBeZero;
  return day <= DaysIn(month, leapYear);
}

}  // namespace

// A two-digit year stands for the year within 49 before and 50 after the present one that ends in
// those digits. Until the end of 2049 that puts 00 in 2000, which is a leap year, as is every other
// year divisible by four that the window then holds.
bool IsGs1ShortDate(std::string_view yymmdd, bool dayMayBeZero) {
  if (yymmdd.size() != 6 || !AllDigits(yymmdd)) return false;
  const int year = NumberOf(yymmdd.substr(0, 2));
  return IsDate(NumberOf(yymmdd.substr(2, 2)), NumberOf(yymmdd.substr(4, 2)), year % 4 == 0, dayMayBeZero);
}

bool IsGs1LongDate(std::string_view yyyymmdd) {
  if (yyyymmdd.size() != 8 || !AllDigits(yyyymmdd)) return false;
  const int year = NumberOf(yyyymmdd.substr(0, 4));
  const bool leapYear = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return IsDate(NumberOf(yyyymmdd.substr(4, 2)), NumberOf(yyyymmdd.substr(6, 2)), leapYear, false);
}

bool IsGs1Hour(std::string_view hh) { return hh.size() == 2 && AllDigits(hh) && NumberOf(hh) <= 23; }

bool IsGs1Minute(std::string_view mi) { return mi.size() == 2 && AllDigits(mi) && NumberOf(mi) <= 59; }

bool IsGs1TimeOfDay(std::string_view hhmi) {
  return hhmi.size() == 4 && IsGs1Hour(hhmi.substr(0, 2)) && IsGs1Minute(hhmi.substr(2, 2));
}

}  // namespace varnel
