#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "app/DateTime.h"

namespace pelwick {
namespace {

TEST(DateTime, EncodeAgainstKnownSerials) {
    TDateTime d = -1;
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, d));
    EXPECT_EQ(d, 0);
    ASSERT_TRUE(TryEncodeDate(1900, 3, 1, d));
    EXPECT_EQ(d, 61);  // 1900 is no leap year
    ASSERT_TRUE(TryEncodeDate(2006, 1, 2, d));
    EXPECT_EQ(d, 38719);
    ASSERT_TRUE(TryEncodeDate(1, 1, 1, d));
    EXPECT_EQ(d, -693593);
    ASSERT_TRUE(TryEncodeDate(2000, 2, 29, d));
    for (auto [y, m, day] : {std::array{2001, 2, 29},
                             {1900, 2, 29},
                             {2005, 13, 1},
                             {2005, 0, 1},
                             {2005, 1, 0},
                             {0, 1, 1},
                             {10000, 1, 1},
                             {2005, 4, 31}})
        EXPECT_FALSE(TryEncodeDate(y, m, day, d)) << y << "-" << m << "-" << day;
}

TEST(DateTime, EncodeTimeRejectsOutOfRangeParts) {
    TDateTime t = 0;
    ASSERT_TRUE(TryEncodeTime(23, 59, 59, 999, t));
    EXPECT_LT(t, 1.0);
    ASSERT_TRUE(TryEncodeTime(12, 0, 0, 0, t));
    EXPECT_EQ(t, 0.5);
    for (auto [h, m, s] : {std::array{24, 0, 0}, {0, 60, 0}, {0, 0, 60}, {-1, 0, 0}})
        EXPECT_FALSE(TryEncodeTime(h, m, s, 0, t));
}

TEST(DateTime, DecodeRoundTripsAndHandlesDaysBeforeTheEpoch) {
    TDateTime date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2006, 1, 2, date));
    ASSERT_TRUE(TryEncodeTime(15, 4, 5, 0, time));
    EXPECT_EQ(FormatISODateTime(ComposeDateTime(date, time)), "2006-01-02T15:04:05");
    // Before the epoch the time of day still counts forwards from midnight.
    ASSERT_TRUE(TryEncodeDate(1899, 12, 29, date));
    ASSERT_TRUE(TryEncodeTime(6, 0, 0, 0, time));
    EXPECT_EQ(ComposeDateTime(date, time), -1.25);
    EXPECT_EQ(FormatISODateTime(-1.25), "1899-12-29T06:00:00");
    EXPECT_EQ(FormatISODateTime(0), "1899-12-30T00:00:00");
    // A fraction a hair below midnight rounds to the next day, not to 24:00:00.
    EXPECT_EQ(FormatISODateTime(38719.9999999999), "2006-01-03T00:00:00");
    EXPECT_EQ(FormatISODateTime(1e12), "");
    EXPECT_EQ(FormatISODateTime(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(DateTime, NowFollowsTheInstalledClock) {
    const TClock old = SetClock([] { return 1234.5; });
    EXPECT_EQ(Now(), 1234.5);
    SetClock(old);
    TDateTimeParts parts;
    ASSERT_TRUE(DecodeDateTime(Now(), parts));
    EXPECT_GE(parts.Year, 2020);
}

}  // namespace
}  // namespace pelwick
