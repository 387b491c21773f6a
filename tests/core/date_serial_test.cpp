#include "core/dates/date_serial.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(DateSerial, KnownDaysAndWeekdays) {
    struct Case {
        int y, m, d, serial, weekday;
    } cases[] = {
        {1899, 12, 30, 0, 7},    {2000, 1, 1, 36526, 7},  {2000, 3, 15, 36600, 4},
        {1900, 3, 1, 61, 5},     {1927, 5, 18, 10000, 4}, {2173, 10, 13, 99999, 4},
        {2100, 2, 28, 73109, 1}, {1899, 12, 29, -1, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(dateSerialOf(c.y, c.m, c.d), c.serial);
        EXPECT_EQ(decodeDate(c.serial), (CivilDate{c.y, c.m, c.d}));
        EXPECT_EQ(dayOfWeek(c.serial), c.weekday);
    }
}

TEST(DateSerial, TimeOfDayIsTheFraction) {
    const DateSerial s = encodeDateTime(2000, 1, 1, 18, 30);
    EXPECT_EQ(wholeDays(s), 36526);
    EXPECT_NEAR(dayFraction(s), 18.5 / 24, 1e-9);
    EXPECT_EQ(decodeTime(s), (ClockTime{18, 30, 0, 0}));
    // Before day 0 the fraction still counts forward within the day.
    const DateSerial early = encodeDateTime(1899, 12, 29, 6, 0);
    EXPECT_DOUBLE_EQ(early, -1.25);
    EXPECT_EQ(decodeDate(early), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(decodeTime(early), (ClockTime{6, 0, 0, 0}));
}

TEST(DateSerial, MonthLengths) {
    EXPECT_EQ(daysInMonth(2, 2000), 29);
    EXPECT_EQ(daysInMonth(2, 2100), 28);
    EXPECT_EQ(daysInMonth(2, 2024), 29);
    EXPECT_EQ(daysInMonth(4, 2001), 30);
    EXPECT_EQ(daysInMonth(13, 2001), 0);
    EXPECT_FALSE(isValidDate(2001, 2, 29));
    EXPECT_TRUE(isValidDate(2004, 2, 29));
}

} // namespace
} // namespace dw
