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

// Every day of the calendar, walked from 1 January 1 to 31 December 9999: each serial is the
// day after the one before, the weekdays go round in turn and the date reads back to its serial.
TEST(DateSerial, EveryDayFollowsTheDayBefore) {
    CivilDate prev{1, 1, 1};
    int serial = dateSerialOf(prev);
    int weekday = dayOfWeek(serial);
    EXPECT_EQ(weekday, 2); // 1 January 1 was a Monday
    const int last = dateSerialOf(9999, 12, 31);
    ASSERT_EQ(last - serial + 1, 3652059);
    while (serial < last) {
        ++serial;
        const CivilDate c = decodeDate(serial);
        const bool nextDay = c.year == prev.year && c.month == prev.month && c.day == prev.day + 1;
        const bool nextMonth = c.year == prev.year && c.month == prev.month + 1 && c.day == 1 &&
                               prev.day == daysInMonth(prev.month, prev.year);
        const bool nextYear =
            c == CivilDate{prev.year + 1, 1, 1} && prev.month == 12 && prev.day == 31;
        if (!(nextDay || nextMonth || nextYear) || dateSerialOf(c) != serial ||
            dayOfWeek(serial) != weekday % 7 + 1) {
            FAIL() << "serial " << serial << " reads " << c.year << "-" << c.month << "-" << c.day
                   << " after " << prev.year << "-" << prev.month << "-" << prev.day;
        }
        prev = c;
        weekday = weekday % 7 + 1;
    }
    EXPECT_EQ(prev, (CivilDate{9999, 12, 31}));
}

TEST(DateSerial, AroundDayZeroTheWholePartCountsTowardZero) {
    struct Case {
        DateSerial s;
        CivilDate date;
        int weekday;
    } cases[] = {
        {0.75, {1899, 12, 30}, 7}, {-0.5, {1899, 12, 30}, 7}, {-0.999, {1899, 12, 30}, 7},
        {-1.0, {1899, 12, 29}, 6}, {-1.5, {1899, 12, 29}, 6}, {-2.25, {1899, 12, 28}, 5},
        {-7.0, {1899, 12, 23}, 7}, {-8.0, {1899, 12, 22}, 6}, {1.5, {1899, 12, 31}, 1},
        {-693593, {1, 1, 1}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(decodeDate(c.s), c.date);
        EXPECT_EQ(dayOfWeek(c.s), c.weekday);
    }
}

// Serials far outside the calendar, as damaged files may hold, still read as the calendar
// carried on: it repeats every 400 years (146097 days), weekdays included.
TEST(DateSerial, FarOffSerialsRepeatEveryFourHundredYears) {
    constexpr int kCycle = 146097;
    for (const int s : {-1999999999, -20000000, -693594, 36526, 3000000, 20000000, 1999853000}) {
        SCOPED_TRACE(s);
        const CivilDate c = decodeDate(s);
        const CivilDate next = decodeDate(s + kCycle);
        EXPECT_EQ(next, (CivilDate{c.year + 400, c.month, c.day}));
        EXPECT_EQ(dateSerialOf(c), s);
        EXPECT_EQ(dateSerialOf(next), s + kCycle);
        EXPECT_EQ(dayOfWeek(s + kCycle), dayOfWeek(s));
        EXPECT_EQ(daysInMonth(2, c.year), daysInMonth(2, c.year + 400));
    }
    EXPECT_EQ(decodeDate(20000000), (CivilDate{56658, 2, 19}));
    EXPECT_TRUE(isLeapYear(40000));
    EXPECT_FALSE(isLeapYear(40100));
    EXPECT_TRUE(isLeapYear(-400));
    EXPECT_FALSE(isLeapYear(-100));
}

} // namespace
} // namespace dw
