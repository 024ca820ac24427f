#pragma once

#include <functional>
#include <string>

namespace pelwick {

// A point in time as days since 30 Dec 1899 00:00, the fraction being the time of day. Days
// before that epoch are negative while the time of day still counts forwards from midnight:
// -1.25 is 29 Dec 1899 06:00.
using TDateTime = double;

inline constexpr int MinDateYear = 1;
inline constexpr int MaxDateYear = 9999;

// Shifts a UTC date-time to local standard time: the zone's standard bias is applied,
// daylight saving is not.
TDateTime UtcToLocal(TDateTime t);

// The zone's standard bias in minutes (UTC = local time + bias).
int StandardTimeZoneBias();

bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// The date as a whole number of days, for years 1..9999 with a month and day that exist;
// false for anything else (result untouched).
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
// The time of day as a fraction of a day: hour 0..23, minute and second 0..59, msec 0..999.
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
// Joins a whole-day date and a time of day under the negative-day rule above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

struct TDateTimeParts {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int MilliSecond = 0;
};

// Splits a date-time into its parts, rounded to the millisecond; false when it lies outside
// the years 1..9999 or is not a number.
bool DecodeDateTime(TDateTime t, TDateTimeParts& parts);

// "YYYY-MM-DDThh:mm:ss"; "" for a value DecodeDateTime refuses.
std::string FormatISODateTime(TDateTime t);

// The local date and time now, read through the process clock so that tests can fix it.
TDateTime Now();
// The real clock: local wall-clock time from the system.
TDateTime SystemNow();
using TClock = std::function<TDateTime()>;
// Installs a clock for Now and returns the previous one; an empty clock restores the system's.
TClock SetClock(TClock clock);

}  // namespace pelwick
