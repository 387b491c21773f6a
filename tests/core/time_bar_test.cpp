#include "core/editing/time_bar.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(TimeBar, TimesMapToPointerPositions) {
    struct Case {
        int hour, minute, x;
    } cases[] = {{0, 0, 7},   {10, 0, 207}, {12, 0, 247},  {10, 5, 208},
                 {7, 0, 147}, {19, 0, 387}, {23, 59, 486}, {0, 2, 7}};
    for (const auto& c : cases)
        EXPECT_EQ(timeToX(c.hour, c.minute), c.x) << c.hour << ":" << c.minute;
}

TEST(TimeBar, PositionsReadAsSnappedTimes) {
    struct Case {
        int x;
        HourMinute time;
    } cases[] = {
        {-5, {0, 0}},
        {7, {0, 0}},
        {8, {0, 0}},
        {9, {0, 5}},
        {10, {0, 5}},
        {14, {0, 15}},
        {17, {0, 30}},
        {22, {0, 45}},
        {27, {1, 0}},
        {208, {10, 0}},
        {209, {10, 5}},
        {247, {12, 0}},
        {248, {12, 0}},
        // 23:54 and 23:57: the evening never becomes the morning's midnight.
        {486, {23, 55}},
        {487, {23, 55}},
        {488, {23, 55}},
        {600, {23, 55}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(xToTime(c.x), c.time);
    }
}

TEST(TimeBar, MinutesSnapToFiveWithTheQuarterHoursPulling) {
    // Minute in -> minute out, for every multiple of 3 and one that is none.
    const int table[][2] = {{0, 0},   {3, 5},   {6, 5},   {9, 10},  {12, 10}, {15, 15}, {18, 15},
                            {21, 20}, {24, 25}, {27, 30}, {30, 30}, {33, 35}, {36, 35}, {39, 40},
                            {42, 45}, {45, 45}, {48, 50}, {51, 50}, {54, 55}, {7, 0}};
    for (const auto& row : table)
        EXPECT_EQ(adjustTo5Minutes(10, row[0]), (HourMinute{10, row[1]})) << row[0];
    EXPECT_EQ(adjustTo5Minutes(10, 57), (HourMinute{11, 0}));
    EXPECT_EQ(adjustTo5Minutes(10, 60), (HourMinute{11, 0}));
    EXPECT_EQ(adjustTo5Minutes(23, 57), (HourMinute{0, 0}));
}

TEST(TimeBar, PointerStaysOnTheBar) {
    EXPECT_FALSE(pointerInRange(6));
    EXPECT_TRUE(pointerInRange(7));
    EXPECT_TRUE(pointerInRange(487));
    EXPECT_FALSE(pointerInRange(488));
}

TEST(TimeBar, DragLabelTextAndColour) {
    struct Case {
        int hour, minute;
        const char* text;
        WinColor color;
    } cases[] = {
        {0, 0, "12:00a", kNightColor},   {0, 5, "12:05a", kNightColor},
        {6, 55, "06:55a", kNightColor},  {7, 0, "07:00a", kDayColor},
        {12, 0, "12:00p", kDayColor},    {13, 45, "01:45p", kDayColor},
        {18, 55, "06:55p", kDayColor},   {19, 0, "07:00p", kNightColor},
        {23, 55, "11:55p", kNightColor},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(timeLabelText(c.hour, c.minute), c.text);
        EXPECT_EQ(timeLabelColor(c.hour), c.color) << c.text;
    }
    EXPECT_EQ(kNightColor, 0x00FFFF00u);
    EXPECT_EQ(kDayColor, 0x0000FFFFu);
}

TEST(TimeBar, StepKeysStopAtTheEndsOfTheDay) {
    using S = TimeStep;
    struct Case {
        TimeStep step;
        HourMinute from;
        std::optional<HourMinute> to;
    } cases[] = {
        {S::MinuteUp, {9, 59}, HourMinute{10, 0}},   {S::MinuteUp, {9, 30}, HourMinute{9, 31}},
        {S::MinuteUp, {23, 59}, std::nullopt},       {S::MinuteDown, {9, 31}, HourMinute{9, 30}},
        {S::MinuteDown, {10, 0}, HourMinute{9, 59}}, {S::MinuteDown, {0, 1}, HourMinute{0, 0}},
        {S::MinuteDown, {0, 0}, std::nullopt},       {S::HourUp, {22, 30}, HourMinute{23, 30}},
        {S::HourUp, {23, 30}, std::nullopt},         {S::HourDown, {1, 30}, HourMinute{0, 30}},
        {S::HourDown, {0, 30}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.step) << " from " << c.from.hour
                                        << ":" << c.from.minute);
        EXPECT_EQ(stepTime(c.step, c.from), c.to);
    }
}

} // namespace
} // namespace dw
