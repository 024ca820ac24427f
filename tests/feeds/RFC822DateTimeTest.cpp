#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "feeds/RFC822DateTime.h"

namespace pelwick {
namespace {

using test::At;

TEST(RFC822DateTime, NewOneHoldsCreationTimeAndGMT) {
    test::TFixedClockAndGuids clock;
    TRFC822DateTime date;
    EXPECT_EQ(date.DateTime(), test::TFixedClockAndGuids::FixedNow);
    EXPECT_EQ(date.TimeZone(), "GMT");
}

TEST(RFC822DateTime, ParsesInternetDates) {
    const std::pair<const char*, TDateTime> cases[] = {
        {"Mon, 02 Jan 2006 15:04:05 GMT", At(2006, 1, 2, 15, 4, 5)},
        {"02-Jan-06 10:00", At(2006, 1, 2, 10, 0, 0)},
        {"Tue, 4 Jan 05 08:00:00 +0000", At(2005, 1, 4, 8, 0, 0)},
        {"  Sat, 31 Dec 1999 23:59:59 -0500  ", At(1999, 12, 31, 23, 59, 59)},
        {"sun,   7 mar 99", At(1999, 3, 7)},             // day name in any case, no time
        {"Jan 02 2006 01:02", At(2006, 1, 2, 1, 2, 0)},  // month first
        {"2 Feb 80 10:00", At(1980, 2, 2, 10, 0, 0)},
        {"2 Feb 79 10:00", At(2079, 2, 2, 10, 0, 0)},
        {"2 Feb 2006 7", At(2006, 2, 2)},  // no ":" means no time
        {"x Feb 2006", At(2006, 2, 1)},    // a day that is no number reads as 1
    };
    for (const auto& [text, expected] : cases) {
        TRFC822DateTime date;
        date.SetTimeZone("zone");
        date.ParseRFC822(text);
        EXPECT_EQ(date.DateTime(), expected) << text;
        EXPECT_EQ(date.TimeZone(), "zone") << "the zone is never touched: " << text;
    }
}

TEST(RFC822DateTime, UnreadableInternetDatesGiveZero) {
    for (const char* text :
         {"2006-01-02", "January 4, 2005", "", "   ", "Mon, 31 Feb 2006", "02 Jan 2006 24:00:00",
          "02 Jan 2006 10:61", "Mon,", "32 Jan 2006", "02 Jnu 2006"}) {
        TRFC822DateTime date;
        date.ParseRFC822(text);
        EXPECT_EQ(date.DateTime(), 0) << text;
    }
}

TEST(RFC822DateTime, ParsesISO8601AndKeepsTheZoneText) {
    test::TFixedClockAndGuids clock;
    struct Case {
        const char* text;
        TDateTime expected;
        const char* zone;
    };
    const Case cases[] = {
        {"2006-01-02T15:04:05Z", At(2006, 1, 2, 15, 4, 5), "Z"},
        {"2006-01-02", At(2006, 1, 2), "GMT"},
        {"2006-01-02T10:20+01:00", At(2006, 1, 2, 10, 0, 0), "GMT"},
        {"2006-01-02T15:04:05.123Z", At(2006, 1, 2, 15, 4, 5), ".123Z"},
        {"2006-01-02T15:04:05+01:00", At(2006, 1, 2, 15, 4, 5), "+01:00"},
        {"2005-13-40", test::TFixedClockAndGuids::FixedNow, "GMT"},
        {"2005", test::TFixedClockAndGuids::FixedNow, "GMT"},
        {"", test::TFixedClockAndGuids::FixedNow, "GMT"},
        {"2006-01-02T25:00:00", test::TFixedClockAndGuids::FixedNow, "GMT"},
    };
    for (const Case& c : cases) {
        TRFC822DateTime date;
        date.SetDateTime(1);
        date.ParseISO8601(c.text);
        EXPECT_EQ(date.DateTime(), c.expected) << c.text;
        EXPECT_EQ(date.TimeZone(), c.zone) << c.text;
    }
}

}  // namespace
}  // namespace pelwick
