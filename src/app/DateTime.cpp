#include "app/DateTime.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelwick {

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;
// Days from 1 Mar 0000 (proleptic Gregorian) to 30 Dec 1899, the epoch of TDateTime.
constexpr std::int64_t EpochFromCivil = 693899;

// Days since 1 Mar 0000 of a proleptic Gregorian date (months counted from March so that the
// leap day comes last).
std::int64_t CivilToDays(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = y / 400;
    const int yoe = int(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

void DaysToCivil(std::int64_t z, int& y, int& m, int& d) {
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = int(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(yoe + era * 400) + (m <= 2);
}

TClock& ProcessClock() {
    static TClock clock;
    return clock;
}

}  // namespace

int StandardTimeZoneBias() {
#ifdef _WIN32
    TIME_ZONE_INFORMATION info{};
    if (GetTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return 0;
    return int(info.Bias);
#else
    tzset();
    // glibc's timezone holds the seconds west of UTC of the zone's standard time.
    return int(timezone / 60);
#endif
}

TDateTime UtcToLocal(TDateTime t) {
    return t - StandardTimeZoneBias() / 1440.0;
}

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static const int DaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return DaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < MinDateYear || year > MaxDateYear || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = TDateTime(CivilToDays(year, month, day) - EpochFromCivil);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return false;
    result = (((hour * 60 + minute) * 60 + second) * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

bool DecodeDateTime(TDateTime t, TDateTimeParts& parts) {
    // The range of years 1..9999 keeps every integer conversion below in bounds.
    if (!(t > -693594.0 && t < 2958466.0)) return false;
    std::int64_t days = std::int64_t(std::trunc(t));
    std::int64_t ms = std::llround(std::fabs(t - double(days)) * MSecsPerDay);
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        days += t < 0 ? -1 : 1;
    }
    DaysToCivil(days + EpochFromCivil, parts.Year, parts.Month, parts.Day);
    if (parts.Year < MinDateYear || parts.Year > MaxDateYear) return false;
    parts.Hour = int(ms / 3600000);
    parts.Minute = int(ms / 60000 % 60);
    parts.Second = int(ms / 1000 % 60);
    parts.MilliSecond = int(ms % 1000);
    return true;
}

std::string FormatISODateTime(TDateTime t) {
    TDateTimeParts p;
    if (!DecodeDateTime(t, p)) return "";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour,
                  p.Minute, p.Second);
    return buf;
}

TDateTime SystemNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const int msec = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &secs);
#else
    localtime_r(&secs, &local);
#endif
    TDateTime date = 0, time = 0;
    TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
    // A leap second (tm_sec 60) is folded into the last ordinary one.
    TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                  msec < 0 ? 0 : msec, time);
    return ComposeDateTime(date, time);
}

TDateTime Now() {
    const TClock& clock = ProcessClock();
    return clock ? clock() : SystemNow();
}

TClock SetClock(TClock clock) {
    TClock previous = std::move(ProcessClock());
    ProcessClock() = std::move(clock);
    return previous;
}

}  // namespace pelwick
