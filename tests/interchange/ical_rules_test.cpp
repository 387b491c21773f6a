#include "core/dates/date_serial.h"
#include "interchange/ical_rules.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

const FormatSettings kFs = FormatSettings::enUS();

TEST(IcalRules, HolidayRulesBecomeYearlyRecurrencesAndBack) {
    const struct {
        const char* month;
        const char* rule;
        const char* rrule; // empty: no recurrence
        const char* ruleBack;
    } cases[] = {
        {"December", "25", "FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25", "25"},
        {"May", "Last : Monday", "FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO", "Last : Monday"},
        {"September", "First : Monday", "FREQ=YEARLY;BYMONTH=9;BYDAY=1MO", "First : Monday"},
        {"november", "fourth : thursday", "FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", "Fourth : Thursday"},
        {"February", "29", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29", "29"},
        // The lookup puts a floating rule it cannot read on day 1; so does the export.
        {"June", "Second : Blursday", "FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=1", "1"},
        {"April", "31", "", ""},
        {"Brumaire", "1", "", ""},
        {"March", "abc", "", ""},
    };
    for (const auto& c : cases) {
        const auto rule = yearlyRuleOfHoliday(c.month, c.rule, kFs);
        ASSERT_EQ(rule.has_value(), *c.rrule != '\0') << c.month << ' ' << c.rule;
        if (!rule)
            continue;
        EXPECT_EQ(rruleTextOf(*rule), c.rrule);
        EXPECT_EQ(holidayRuleText(*rule, kFs), c.ruleBack);
    }
}

TEST(IcalRules, FirstDateOfARuleWaitsForAYearThatHasIt) {
    EXPECT_EQ(firstDateOfRule({2, 29, 0, 0}, 2001), dateSerialOf(2004, 2, 29));
    EXPECT_EQ(firstDateOfRule({5, 0, -1, 2}, 2000), dateSerialOf(2000, 5, 29));
    EXPECT_EQ(firstDateOfRule({11, 0, 4, 5}, 2000), dateSerialOf(2000, 11, 23));
}

TEST(IcalRules, UidsFollowDateTimeAndTextOnly) {
    const int day = dateSerialOf(2024, 3, 5);
    const std::string uid = taskUid(day, 540, "Plan");
    EXPECT_EQ(uid, taskUid(day, 540, "Plan"));
    EXPECT_EQ(uid.size(), 32u + std::string("@dayweaver").size());
    EXPECT_NE(uid, taskUid(day + 1, 540, "Plan"));
    EXPECT_NE(uid, taskUid(day, 541, "Plan"));
    EXPECT_NE(uid, taskUid(day, std::nullopt, "Plan"));
    EXPECT_NE(uid, taskUid(day, 540, "Plan!"));
    EXPECT_NE(todoUid("Plan"), taskUid(day, 540, "Plan"));
    // The parts are kept apart: moving a character from one to the next changes the UID.
    EXPECT_NE(contentUid({"ab", "c"}), contentUid({"a", "bc"}));
}

TEST(IcalRules, SummaryAndDescriptionMakeOneTaskText) {
    EXPECT_EQ(summaryOfText("Call Bob\r\nabout the roof"), "Call Bob");
    EXPECT_EQ(descriptionOfText("Call Bob\r\nabout the roof"), "Call Bob\nabout the roof");
    const struct {
        const char* summary;
        const char* description;
        const char* text;
    } cases[] = {
        {"Call Bob", "Call Bob\nabout the roof", "Call Bob\nabout the roof"}, // ours
        {"Call Bob", "", "Call Bob"},
        {"Call Bob", "Call Bob", "Call Bob"},
        {"Call Bob", "about the roof\n", "Call Bob\nabout the roof"},
        {"", "about the roof", "about the roof"},
        {"  ", "\n", "  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(taskTextOf(c.summary, c.description), c.text)
            << c.summary << '|' << c.description;
}

TEST(IcalRules, ImportedTextsAreCheckedLikeTypedOnes) {
    const CheckedText text = checkedTaskText("a\tb\nc\bd");
    EXPECT_EQ(text.text, "a b\r\ncd");
    EXPECT_FALSE(text.shortened);
    const CheckedText longText = checkedTaskText(std::string(2100, 'x'));
    EXPECT_EQ(longText.text.size(), 2048u);
    EXPECT_TRUE(longText.shortened);
    // Not UTF-8: read as Windows-1252, as older files are.
    EXPECT_EQ(checkedTaskText("caf\xe9").text, "caf\xc3\xa9");

    const CheckedText category = checkedCategory("Work\nHome");
    EXPECT_EQ(category.text, "Work Home");
    const CheckedText longCategory = checkedCategory("\xc3\xa9" + std::string(25, 'x'));
    EXPECT_EQ(longCategory.text, "\xc3\xa9" + std::string(19, 'x'));
    EXPECT_TRUE(longCategory.shortened);
}

TEST(IcalRules, ControlCharactersAreDroppedAndCounted) {
    struct Case {
        const char* raw;
        const char* text;
        int dropped;
    } cases[] = {
        {"plain", "plain", 0},
        {"a\x1b[2Jb", "a[2Jb", 1}, // ESC
        {"bell\x07 nul\x01 del\x7f", "bell nul del", 3},
        {"c1 \xc2\x9b x \xc2\xa0 y", "c1  x \xc2\xa0 y", 1}, // CSI goes, NBSP stays
        {"tab\tand\nline", "tab and\r\nline", 0},            // what a text may hold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        const CheckedText t = checkedTaskText(c.raw);
        EXPECT_EQ(t.text, c.text);
        EXPECT_EQ(t.droppedControls, c.dropped);
    }
    EXPECT_EQ(checkedCategory("Wo\x1brk").text, "Work");
    EXPECT_EQ(checkedCategory("Wo\x1brk").droppedControls, 1);
    EXPECT_EQ(checkedHolidayName("Fe\x1bte").text, "Fete");
}

TEST(IcalRules, TaskKeysCompareTimesByTheMinute) {
    const int day = dateSerialOf(2024, 3, 5);
    EXPECT_EQ(taskKey(day, "9:00 AM", "Plan", kFs), taskKey(day, 540, "Plan"));
    EXPECT_EQ(taskKey(day, "09:00", "Plan", kFs), taskKey(day, 540, "Plan"));
    EXPECT_EQ(taskKey(day, kAllDayTimeText, "Plan", kFs), taskKey(day, std::nullopt, "Plan"));
    EXPECT_NE(taskKey(day, "9:01 AM", "Plan", kFs), taskKey(day, 540, "Plan"));
    EXPECT_NE(taskKey(day, "9:00 AM", "Plan", kFs), taskKey(day + 1, 540, "Plan"));
    EXPECT_NE(taskKey(day, "soon", "Plan", kFs), taskKey(day, std::nullopt, "Plan"));
}

TEST(IcalRules, ReportLines) {
    const int day = dateSerialOf(2024, 3, 5);
    EXPECT_EQ(calendarItemLine({CalendarItemKind::Task, day, 545, {}, "Plan"}),
              "task\t2024-03-05\t09:05\tPlan");
    EXPECT_EQ(calendarItemLine({CalendarItemKind::Task, day, std::nullopt, {}, "Plan"}),
              "task\t2024-03-05\t\tPlan");
    EXPECT_EQ(calendarItemLine({CalendarItemKind::Todo, 0, std::nullopt, {}, "Milk"}),
              "todo\t\t\tMilk");
    EXPECT_EQ(
        calendarItemLine({CalendarItemKind::Holiday, 0, std::nullopt, {12, 25, 0, 0}, "Xmas"}),
        "holiday\tFREQ=YEARLY;BYMONTH=12;BYMONTHDAY=25\t\tXmas");
}

} // namespace
} // namespace dw
