#include "core/calendar/calendar_sync.h"
#include "core/calendar/captions.h"
#include "core/dates/month_step.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(MonthStep, ClampsToTheTargetMonth) {
    struct {
        CivilDate from;
        int months;
        CivilDate to;
    } cases[] = {
        {{2000, 1, 31}, 1, {2000, 2, 29}},
        {{2001, 1, 31}, 1, {2001, 2, 28}},
        {{2000, 3, 31}, -1, {2000, 2, 29}},
        {{2000, 2, 29}, 12, {2001, 2, 28}},
        {{2000, 2, 29}, -12, {1999, 2, 28}},
        {{1999, 12, 15}, 1, {2000, 1, 15}},
        {{2000, 1, 15}, -1, {1999, 12, 15}},
        {{2000, 5, 31}, -1, {2000, 4, 30}},
        // Across the turn of a 400-year cycle, and at the calendar's two ends.
        {{2399, 12, 31}, 1, {2400, 1, 31}},
        {{2400, 1, 31}, -1, {2399, 12, 31}},
        {{2400, 1, 31}, 1, {2400, 2, 29}},
        {{2399, 3, 31}, -13, {2398, 2, 28}},
        {{9999, 12, 15}, 1, {9999, 12, 15}},
        {{1, 1, 15}, -1, {1, 1, 15}},
        {{9998, 12, 31}, 12, {9999, 12, 31}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeDate(addMonthsClamped(dateSerialOf(c.from), c.months)), c.to)
            << c.from.year << "-" << c.from.month << "-" << c.from.day << " " << c.months;
    // The time of day stays.
    const DateSerial t = encodeDateTime(2000, 1, 31, 15, 30);
    EXPECT_EQ(decodeTime(nextMonth(t)), (ClockTime{15, 30, 0, 0}));
}

TEST(CalendarSync, FourConsecutiveMonthsAroundTheActiveOne) {
    struct {
        int active;
        CivilDate date;
        CivilDate expected[4];
    } cases[] = {
        // The clamp carries on from calendar to calendar.
        {0, {2000, 1, 31}, {{2000, 1, 31}, {2000, 2, 29}, {2000, 3, 29}, {2000, 4, 29}}},
        {3, {2001, 5, 31}, {{2001, 2, 28}, {2001, 3, 30}, {2001, 4, 30}, {2001, 5, 31}}},
        {1, {2000, 3, 31}, {{2000, 2, 29}, {2000, 3, 31}, {2000, 4, 30}, {2000, 5, 30}}},
        {2, {2000, 1, 15}, {{1999, 11, 15}, {1999, 12, 15}, {2000, 1, 15}, {2000, 2, 15}}},
    };
    for (const auto& c : cases) {
        const auto dates = synchronisedMonths(c.active, dateSerialOf(c.date));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(decodeDate(dates[static_cast<std::size_t>(i)]), c.expected[i])
                << "active " << c.active << " calendar " << i;
    }
}

TEST(CalendarSync, SizingThresholds) {
    const int nav = 22;
    struct {
        int split2;
        int height;
        bool nav, headers, captions, raised;
        int font;
    } cases[] = {
        // H = (split2 - nav - 5) / 2 when above 90, else (split2 - 5) / 2.
        {5 + 22 + 182, 91, true, false, true, true, 9},
        {5 + 22 + 180, 101, false, false, true, true, 9}, // 90 with the navigator: hidden
        {5 + 22 + 212, 106, true, false, true, true, 9},
        {5 + 22 + 214, 107, true, true, true, true, 9},
        {5 + 102, 51, false, false, true, false, 6},
        {5 + 100, 50, false, false, false, false, 6},
        {5 + 98, 49, false, false, false, false, 4},
        {5 + 150, 75, false, false, true, true, 9},
        {5 + 148, 74, false, false, true, false, 6},
    };
    for (const auto& c : cases) {
        const CalendarSizing s = calendarSizing(401, c.split2, nav, 9);
        SCOPED_TRACE(c.split2);
        EXPECT_EQ(s.width, 200);
        EXPECT_EQ(s.height, c.height);
        EXPECT_EQ(s.navigatorVisible, c.nav);
        EXPECT_EQ(s.headersAndBevels, c.headers);
        EXPECT_EQ(s.captionsShown, c.captions);
        EXPECT_EQ(s.captionsRaised, c.raised);
        EXPECT_EQ(s.cellFontSize, c.font);
    }
}

TEST(Captions, ToDoAndDateCaptions) {
    EXPECT_EQ(todoCaptionText(1), "To-do Tasks");
    EXPECT_EQ(todoCaptionText(2), "To-do Tasks");
    EXPECT_EQ(todoCaptionText(3), "2 To-do Tasks");

    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(1999, 12, 15, 9, 0));
    const DateSerial monday = dateSerialOf(1999, 12, 13);
    EXPECT_EQ(dateCaptionFor(monday, "", 4, true, fs, clock).text,
              "3 tasks Mon 12/13/1999  2 days ago");
    EXPECT_EQ(dateCaptionFor(monday, "", 4, true, fs, clock).color, 0x00FF0000u);
    EXPECT_EQ(dateCaptionFor(monday, "", 2, false, fs, clock).text, "Mon 12/13/1999  2 days ago");
    EXPECT_EQ(dateCaptionFor(monday, "", 2, false, fs, clock).color, 0x00800000u);
    const DateCaption holiday =
        dateCaptionFor(dateSerialOf(1999, 12, 16), "Christmas", 5, true, fs, clock);
    EXPECT_EQ(holiday.text, "Christmas  Tomorrow");
    EXPECT_EQ(holiday.color, 0x000000FFu);
}

} // namespace
} // namespace dw
