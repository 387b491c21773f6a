#include "core/calendar/relative_date.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

// Today is Wednesday 15 March 2000, in the middle of the morning.
const FixedClock wednesday(encodeDateTime(2000, 3, 15, 10, 30));

TEST(RelativeDateText, ReadsFromWednesdayFifteenthOfMarch2000) {
    struct Case {
        int y, m, d;
        const char* text;
    } cases[] = {
        {2000, 3, 15, "Today"},
        {2000, 3, 16, "Tomorrow"},
        {2000, 3, 14, "Yesterday"},
        {2000, 3, 20, "5 days"},
        {2000, 4, 20, "36 days"},
        {2000, 4, 23, "6 wks"},
        {2000, 4, 30, "7 wks"},
        {2000, 9, 1, "6 mons"},
        {2003, 4, 1, "3 yrs 1 mon"},
        {2004, 5, 1, "4 yrs 2 mons"},
        {2000, 3, 10, "5 days ago"},
        {2000, 1, 29, "7 wks ago"},
        {1999, 12, 1, "3 mons ago"},
        {1997, 2, 1, "3 yrs 1 mon ago"},
        {1995, 1, 1, "5 yrs 2 mons ago"},
        // The past counts days through its sixth calendar week (Saturday 5 February is
        // 39 days back, week count 6); the future switches to weeks at 6 (23 April above).
        {2000, 2, 5, "39 days ago"},
        // Whole years with no months left over: no trailing month part, no double space.
        {2005, 3, 1, "5 yrs"},
        {1995, 3, 1, "5 yrs ago"},
        {2002, 3, 1, "24 mons"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(relativeDateText(dateSerialOf(c.y, c.m, c.d), wednesday), c.text);
    }
}

TEST(RelativeDateText, CountsCalendarWeeksFromTheEarlierDatesSunday) {
    struct Case {
        int nowY, nowM, nowD, y, m, d;
        const char* text;
    } cases[] = {
        // 36 days on from a Saturday reach into the sixth calendar week, from a Sunday not.
        {2000, 3, 4, 2000, 4, 9, "6 wks"},
        {2000, 3, 5, 2000, 4, 10, "36 days"},
        // Back from a Sunday to a Saturday: the week of that Saturday starts the count.
        {2000, 3, 19, 2000, 2, 5, "7 wks ago"},
        {2000, 3, 19, 2000, 2, 12, "36 days ago"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        const FixedClock clock(dateSerialOf(c.nowY, c.nowM, c.nowD));
        EXPECT_EQ(relativeDateText(dateSerialOf(c.y, c.m, c.d), clock), c.text);
    }
}

TEST(RelativeDateText, OnlyTheDayCountsNotTheTime) {
    FixedClock clock(encodeDateTime(2000, 3, 15, 23, 59));
    EXPECT_EQ(relativeDateText(encodeDateTime(2000, 3, 15, 0, 1), clock), "Today");
    EXPECT_EQ(relativeDateText(encodeDateTime(2000, 3, 15, 23, 59), clock), "Today");
    EXPECT_EQ(relativeDateText(encodeDateTime(2000, 3, 16, 0, 1), clock), "Tomorrow");
    clock.setNow(encodeDateTime(2000, 3, 15, 0, 1));
    EXPECT_EQ(relativeDateText(encodeDateTime(2000, 3, 14, 23, 59), clock), "Yesterday");
    EXPECT_EQ(relativeDateText(encodeDateTime(2000, 3, 20, 23, 0), clock), "5 days");
}

TEST(RelativeDateText, FollowsTheClock) {
    // The same stored date reads differently as the days go by.
    FixedClock clock(dateSerialOf(2000, 3, 15));
    const DateSerial d = dateSerialOf(2000, 3, 20);
    EXPECT_EQ(relativeDateText(d, clock), "5 days");
    clock.advanceMinutes(5 * 1440);
    EXPECT_EQ(relativeDateText(d, clock), "Today");
    clock.advanceMinutes(1440);
    EXPECT_EQ(relativeDateText(d, clock), "Yesterday");
}

} // namespace
} // namespace dw
