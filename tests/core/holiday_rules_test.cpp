#include "core/holidays/holiday_rules.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace dw {
namespace {

const FormatSettings en = FormatSettings::enUS();

FormatSettings german() {
    FormatSettings fs;
    fs.longMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    fs.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                       "Donnerstag", "Freitag", "Samstag"};
    return fs;
}

FormatSettings french() {
    FormatSettings fs;
    fs.longMonthNames = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                         "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    fs.longDayNames = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
    return fs;
}

struct HolidayRow {
    std::string name, number, month, rule;
};

CellTable holidayTable(const std::vector<HolidayRow>& rows) {
    CellTable t(4, static_cast<int>(rows.size()) + 1);
    t.setCell(0, 0, "Holiday name");
    t.setCell(1, 0, "Mo #");
    t.setCell(2, 0, "Month");
    t.setCell(3, 0, "Day of month");
    for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<size_t>(r - 1)];
        t.setCell(0, r, row.name);
        t.setCell(1, r, row.number);
        t.setCell(2, r, row.month);
        t.setCell(3, r, row.rule);
    }
    return t;
}

TEST(HolidayRules, NthWeekdayOfMonth) {
    struct Case {
        int year, month, n, weekday, day;
    } cases[] = {
        {2000, 5, 5, 2, 29},  // last Monday of May
        {2000, 9, 1, 2, 4},   // first Monday of September
        {2000, 11, 4, 5, 23}, // fourth Thursday of November
        {2100, 2, 5, 6, 26},  // last Friday of February in a common century year
        {2000, 2, 5, 3, 29},  // last Tuesday of a leap February is its 29th
        {2000, 4, 1, 7, 1},   // the month starts on the wanted weekday
        {2000, 4, 4, 1, 23},  // fourth Sunday, not the fifth (30 April)
        {2000, 4, 5, 1, 30},  // last Sunday
        {2000, 4, 9, 1, 30},  // anything past 4 is the last
        {2000, 13, 1, 2, 0},  // no such month
        {2000, 5, 1, 0, 0},   // no such weekday
        {2000, 5, 1, 8, 0},   {2000, 5, 0, 2, 0}, // no such ordinal
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.year << "-" << c.month << " n=" << c.n << " weekday=" << c.weekday);
        EXPECT_EQ(nthWeekdayOfMonth(c.year, c.month, c.n, c.weekday), c.day);
    }
}

TEST(HolidayRules, HolidayDateOfRuleTexts) {
    struct Case {
        int year, month;
        const char* rule;
        std::optional<int> day; // nullopt: the rule falls on no day
    } cases[] = {
        {2000, 5, "Last : Monday", 29},
        {2000, 9, "First : Monday", 4},
        {2000, 11, "Fourth : Thursday", 23},
        {2100, 2, "Last : Friday", 26},
        {2000, 11, "fourth:THURSDAY", 23}, // any case, any spacing around the colon
        {2000, 5, "The LAST Monday : of May", 29},
        // The ordinal words are tried first to last; the first found wins.
        {2000, 5, "Last : First : Monday", 1},
        // Weekday names are tried Sunday first.
        {2000, 5, "First : Monday or Sunday", 7},
        // Ordinal or weekday missing: day 1 of the month.
        {2000, 5, "Fifth : Monday", 1},
        {2000, 5, "First : Mondai", 1},
        {2000, 5, ":", 1},
        // Fixed days.
        {2000, 12, "25", 25},
        {2000, 12, " 7 ", 7},
        {2000, 12, "07", 7},
        {2000, 2, "29", 29},
        // Fixed days that do not exist in that month answer nothing.
        {2001, 2, "29", std::nullopt},
        {2000, 4, "31", std::nullopt},
        {2000, 4, "0", std::nullopt},
        {2000, 4, "-1", std::nullopt},
        {2000, 4, "abc", std::nullopt},
        {2000, 4, "", std::nullopt},
        {2000, 4, "2 5", std::nullopt},
        {2000, 4, "25th", std::nullopt},
        {2000, 4, "99999999999999999999", std::nullopt},
        // Outside the calendar.
        {2000, 13, "First : Monday", std::nullopt},
        {2000, 0, "1", std::nullopt},
        {10000, 1, "1", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << " \"" << c.rule << "\"");
        std::optional<int> expected;
        if (c.day)
            expected = dateSerialOf(c.year, c.month, *c.day);
        EXPECT_EQ(holidayDate(c.year, c.month, c.rule, en), expected);
    }
}

TEST(HolidayRules, FloatingRuleTextRoundTrips) {
    EXPECT_EQ(floatingRuleText(1, 2, en), "First : Monday");
    EXPECT_EQ(floatingRuleText(5, 1, en), "Last : Sunday");
    EXPECT_EQ(floatingRuleText(3, 7, german()), "Third : Samstag");
    EXPECT_EQ(floatingRuleText(0, 2, en), "");
    EXPECT_EQ(floatingRuleText(6, 2, en), "");
    EXPECT_EQ(floatingRuleText(1, 0, en), "");
    EXPECT_EQ(floatingRuleText(1, 8, en), "");

    // Every rule the editor can write falls where it says, in every locale we try.
    for (const FormatSettings& fs : {en, german(), french()}) {
        for (int ordinal = 1; ordinal <= 5; ++ordinal) {
            for (int weekday = 1; weekday <= 7; ++weekday) {
                const std::string rule = floatingRuleText(ordinal, weekday, fs);
                SCOPED_TRACE(rule);
                EXPECT_TRUE(isFloatingRule(rule));
                EXPECT_EQ(holidayDate(2024, 9, rule, fs),
                          dateSerialOf(2024, 9, nthWeekdayOfMonth(2024, 9, ordinal, weekday)));
            }
        }
    }
}

// A table with the awkward rows: a lower row on an upper row's date, a month text in lower
// case, an ordinal-less floating rule, impossible fixed days and an empty row.
CellTable awkwardTable() {
    return holidayTable({
        {"Christmas", "12", "December", "25"},
        {"Memorial Day", "05", "May", "Last : Monday"},
        {"Thanksgiving", "11", "November", "Fourth : Thursday"},
        {"Turkey Day", "11", "November", "23"},
        {"Midsummer", "06", "june", "Third : Saturday"},
        {"Leap Day", "02", "February", "29"},
        {"No Such Day", "04", "April", "31"},
        {"Zero Day", "04", "April", "0"},
        {"", "", "", ""},
        {"Month One", "03", "March", "Every : Friday"},
        {"German Row", "12", "Dezember", "6"},
        {"Wrong Number", "01", "Month of July", "4"},
    });
}

TEST(HolidayForDate, FindsEveryHolidayOfAYearAndNothingElse) {
    const CellTable table = awkwardTable();
    struct Case {
        int year;
        std::map<int, std::string> expected; // day serial -> name
    } cases[] = {
        {2000,
         {{dateSerialOf(2000, 2, 29), "Leap Day"},
          {dateSerialOf(2000, 3, 1), "Month One"},
          {dateSerialOf(2000, 5, 29), "Memorial Day"},
          {dateSerialOf(2000, 6, 17), "Midsummer"},
          {dateSerialOf(2000, 7, 4), "Wrong Number"},
          {dateSerialOf(2000, 11, 23), "Thanksgiving"}, // the upper of two rows
          {dateSerialOf(2000, 12, 25), "Christmas"}}},
        {2001,
         {{dateSerialOf(2001, 3, 1), "Month One"},
          {dateSerialOf(2001, 5, 28), "Memorial Day"},
          {dateSerialOf(2001, 6, 16), "Midsummer"},
          {dateSerialOf(2001, 7, 4), "Wrong Number"},
          {dateSerialOf(2001, 11, 22), "Thanksgiving"},
          {dateSerialOf(2001, 11, 23), "Turkey Day"},
          {dateSerialOf(2001, 12, 25), "Christmas"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        std::map<int, std::string> found;
        for (int d = dateSerialOf(c.year, 1, 1); d <= dateSerialOf(c.year, 12, 31); ++d) {
            // Late in the day, so the time of day must be ignored.
            const std::string name = holidayForDate(table, d + 0.99, en);
            if (!name.empty())
                found[d] = name;
        }
        EXPECT_EQ(found, c.expected);
    }
}

TEST(HolidayForDate, FixedDayMatchesEveryYearAtAnyTime) {
    const CellTable table = holidayTable({{"Christmas", "12", "December", "25"}});
    for (int year : {1899, 1900, 2000, 2037, 2100, 9999}) {
        SCOPED_TRACE(year);
        EXPECT_EQ(holidayForDate(table, encodeDateTime(year, 12, 25, 0, 0), en), "Christmas");
        EXPECT_EQ(holidayForDate(table, encodeDateTime(year, 12, 25, 18, 45), en), "Christmas");
        EXPECT_EQ(holidayForDate(table, encodeDateTime(year, 12, 25, 23, 59, 59), en), "Christmas");
        EXPECT_EQ(holidayForDate(table, encodeDateTime(year, 12, 24, 23, 59, 59), en), "");
        EXPECT_EQ(holidayForDate(table, encodeDateTime(year, 12, 26, 0, 0), en), "");
    }
}

TEST(HolidayForDate, MonthAndWeekdayNamesAreTheLocales) {
    const CellTable table = holidayTable({
        {"Advent", "12", "Dezember", "First : Sonntag"},
        {"Mardi", "02", "FÉVRIER", "Last : MARDI"},
    });
    // 1 December 2000 was a Friday.
    EXPECT_EQ(holidayForDate(table, dateSerialOf(2000, 12, 3), german()), "Advent");
    EXPECT_EQ(holidayForDate(table, dateSerialOf(2000, 12, 3), en), "");
    // Upper-case accented month and weekday texts still match the locale's names.
    EXPECT_EQ(holidayForDate(table, dateSerialOf(2000, 2, 29), french()), "Mardi");
    EXPECT_EQ(holidayForDate(table, dateSerialOf(2000, 2, 29), en), "");
}

TEST(HolidayForDate, OddTablesAnswerNothing) {
    // The empty table: a header row and one row of empty cells.
    const CellTable empty(4, 2);
    // A table of fewer columns than a holiday table.
    CellTable narrow(2, 3);
    narrow.setCell(0, 1, "Christmas");
    narrow.setCell(1, 1, "December");
    // Only a header row.
    const CellTable headerOnly(4, 1);
    // A locale without month names.
    FormatSettings nameless;
    nameless.longMonthNames.fill("");
    const CellTable christmas = holidayTable({{"Christmas", "12", "December", "25"}});
    // Nor does a missing weekday name stand for every weekday.
    FormatSettings noSunday;
    noSunday.longDayNames[0] = "";
    EXPECT_EQ(holidayDate(2000, 9, "First : Monday", noSunday), dateSerialOf(2000, 9, 4));

    for (int d = dateSerialOf(2000, 1, 1); d <= dateSerialOf(2000, 12, 31); ++d) {
        EXPECT_EQ(holidayForDate(empty, d, en), "");
        EXPECT_EQ(holidayForDate(narrow, d, en), "");
        EXPECT_EQ(holidayForDate(headerOnly, d, en), "");
        EXPECT_EQ(holidayForDate(christmas, d, nameless), "");
    }
}

} // namespace
} // namespace dw
