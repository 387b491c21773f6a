#include "core/editing/reschedule_text.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(RescheduleDateText, NamesTheWeekdayInTheLocaleAndHowFarTheDateIs) {
    // Monday 3 January 2000, late in the evening: only whole days count.
    const FixedClock clock(encodeDateTime(2000, 1, 3, 23, 50));
    const FormatSettings us = FormatSettings::enUS();
    FormatSettings german = us;
    german.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                           "Donnerstag", "Freitag", "Samstag"};
    const DateSerial monday = dateSerialOf(2000, 1, 3);
    struct Case {
        int offset;
        const FormatSettings& fs;
        const char* text;
    } cases[] = {
        {0, us, "Monday : Today"},         {1, us, "Tuesday : Tomorrow"},
        {-1, us, "Sunday : Yesterday"},    {5, us, "Saturday : 5 days"},
        {-9, us, "Saturday : 9 days ago"}, {2, german, "Mittwoch : 2 days"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rescheduleDateText(monday + c.offset, c.fs, clock), c.text) << c.offset;
}

} // namespace
} // namespace dw
