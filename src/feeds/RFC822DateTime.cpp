#include "feeds/RFC822DateTime.h"

#include <array>

#include "app/Strings.h"

namespace pelwick {

namespace {

constexpr std::array<std::string_view, 7> DayNames = {"SUN", "MON", "TUE", "WED",
                                                      "THU", "FRI", "SAT"};
constexpr std::array<std::string_view, 12> MonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// A decimal integer after optional leading blanks, or def.
int DecimalOr(std::string_view s, int def) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return TryParseInt(s).value_or(def);
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (unsigned char)s.front() <= ' ')
        s.remove_prefix(1);
    return s;
}

std::string_view TrimBoth(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && (unsigned char)s.back() <= ' ')
        s.remove_suffix(1);
    return s;
}

// The text before the first sep (all of it when there is none); rest loses that part and the
// separator.
std::string_view TakeUntil(std::string_view& rest, char sep) {
    const std::size_t p = rest.find(sep);
    std::string_view part = rest.substr(0, p);
    rest = p == std::string_view::npos ? std::string_view() : rest.substr(p + 1);
    return part;
}

// 1..12 for an exact three-letter month name in any case, 0 otherwise.
int MonthNumber(std::string_view token) {
    const std::string upper = UpperAscii(token);
    for (std::size_t i = 0; i < MonthNames.size(); ++i)
        if (MonthNames[i] == upper) return int(i) + 1;
    return 0;
}

bool StartsWithDayName(std::string_view s) {
    if (s.size() < 3) return false;
    const std::string upper = UpperAscii(s.substr(0, 3));
    for (std::string_view day : DayNames)
        if (day == upper) return true;
    return false;
}

}  // namespace

TDateTime RFC822ToDateTime(std::string_view text) {
    std::string_view s = TrimBoth(text);
    if (s.empty()) return 0;
    if (StartsWithDayName(s)) {
        const std::size_t space = s.find(' ');
        if (space != std::string_view::npos) s = TrimLeft(s.substr(space + 1));
    }
    // "02-Jan-06" style dates separate day, month and year by dashes; a dash after the first
    // blank belongs to the zone ("-0500") instead.
    const std::size_t dash = s.find('-', 1);
    const std::size_t firstSpace = s.find(' ');
    const char sep =
        dash != std::string_view::npos && firstSpace != std::string_view::npos && dash < firstSpace
            ? '-'
            : ' ';
    auto readDay = [&] {
        const int day = DecimalOr(TakeUntil(s, sep), 1);
        s = TrimLeft(s);
        return day;
    };
    auto readMonth = [&] {
        const int month = MonthNumber(TakeUntil(s, sep));
        s = TrimLeft(s);
        return month;
    };
    int day, month;
    if (MonthNumber(s.substr(0, s.find(sep))) != 0) {
        month = readMonth();
        day = readDay();
    } else {
        day = readDay();
        month = readMonth();
    }
    std::string_view rest = s;
    const std::string_view yearToken = TakeUntil(rest, ' ');
    int year;
    if (auto y = TryParseInt(TrimLeft(yearToken))) {
        year = *y;
        s = TrimLeft(rest);
    } else {
        year = DecimalOr(s, 1900);
        s = {};
    }
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date)) return 0;
    if (s.find(':') != std::string_view::npos) {
        std::string_view clock = TakeUntil(s, ' ');
        const int hour = DecimalOr(TakeUntil(clock, ':'), 0);
        const int minute = DecimalOr(TakeUntil(clock, ':'), 0);
        const int second = DecimalOr(clock, 0);
        TDateTime time;
        if (!TryEncodeTime(hour, minute, second, 0, time)) return 0;
        return ComposeDateTime(date, time);
    }
    return date;
}

TRFC822DateTime::TRFC822DateTime() : dateTime_(Now()) {}

void TRFC822DateTime::SetDateTime(TDateTime value) {
    if (value != dateTime_) dateTime_ = value;
}

void TRFC822DateTime::SetTimeZone(const std::string& value) {
    if (value != timeZone_) timeZone_ = value;
}

void TRFC822DateTime::ParseRFC822(std::string_view text) {
    SetDateTime(RFC822ToDateTime(text));
}

void TRFC822DateTime::ParseISO8601(std::string_view text) {
    std::string_view s = text;
    const int year = DecimalOr(TakeUntil(s, '-'), 0);
    const int month = DecimalOr(TakeUntil(s, '-'), 0);
    const int day = DecimalOr(TakeUntil(s, 'T'), 0);
    const int hour = DecimalOr(TakeUntil(s, ':'), 0);
    const int minute = DecimalOr(TakeUntil(s, ':'), 0);
    int second = 0;
    if (!s.empty()) {
        second = DecimalOr(s.substr(0, 2), 0);
        s.remove_prefix(s.size() < 2 ? s.size() : 2);
        if (!s.empty()) SetTimeZone(std::string(s));
    }
    TDateTime date, time;
    if (TryEncodeDate(year, month, day, date) && TryEncodeTime(hour, minute, second, 0, time))
        SetDateTime(ComposeDateTime(date, time));
    else
        SetDateTime(Now());
}

}  // namespace pelwick
