#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_sets.h"
#include "core/holidays/holiday_table.h"
#include "support/table_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

using test::rowsOf;
using Rows = std::vector<std::string>;

const FormatSettings en = FormatSettings::enUS();

// A locale whose abbreviations differ from the codes' English ones in length and letters.
FormatSettings german() {
    FormatSettings fs;
    fs.longMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    fs.shortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                          "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    fs.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                       "Donnerstag", "Freitag", "Samstag"};
    fs.shortDayNames = {"So.", "Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa."};
    return fs;
}

TEST(HolidaySets, EveryCountryListsItsEntriesInOrder) {
    struct Case {
        const char* country;
        size_t count;
        const char* first;
        const char* last;
    } cases[] = {
        {"Australia", 6, "Jan 1st\tNew Year's Day", "Dec 25th\tChristmas"},
        {"Austria", 9, "Jan 1st\tNeujahr", "Dec 26th\tStephanstag"},
        {"Belgium", 9, "Jan 1st\tNieuwjaar/Jour de l'An", "Dec 25th\tKerstmis/Noël"},
        {"Brazil", 14, "Jan 1st\tConfr. Universal", "Dec 31st\tSão Silvestre"},
        {"Canada - English", 9, "Jan 1st\tNew Year's Day", "Dec 26th\tBoxing Day"},
        {"Canada - French", 9, "Jan 1st\tJour de l'An", "Dec 26th\tLendemain de Noël"},
        {"Denmark", 5, "Jan 1st\tNytår", "Dec 26th\t2. Juledag"},
        {"Finland", 7, "Jan 1st\tUudenvuodenpäivä", "Dec 26th\t2. joulupäivä"},
        {"France", 8, "Jan 1st\tJour de l'An", "Dec 25th\tNoël"},
        {"Germany", 11, "Jan 1st\tNeujahr", "Dec 31st\tSilvester"},
        {"Ireland", 9, "Jan 1st\tNew Year's Day", "Dec 31st\tNew Year's Eve"},
        {"Italy", 9, "Jan 1st\tCapodanno", "Dec 26th\tSanto Stefano"},
        {"Japan", 13, "Jan 1st\tNew Year's Day", "Dec 23rd\tThe Emperor's Birthday"},
        {"Netherlands", 5, "Jan 1st\tNieuwjaar", "Dec 26th\t2de Kerstdag"},
        {"New Zealand", 7, "Jan 1st\tNew Year's Day", "Dec 26th\tBoxing Day"},
        {"Norway", 5, "Jan 1st\tNyttårsdag", "Dec 26th\t2. Juledag"},
        {"Portugal", 10, "Jan 1st\tCircuncisão", "Dec 25th\tDia de Natal"},
        {"South Africa", 8, "Jan 1st\tNew Year's Day", "Dec 26th\tDay of Goodwill"},
        {"Spain", 30, "Jan 1st\tAño Nuevo", "Dec 26th\tSan Esteban"},
        {"Sweden", 9, "Jan 1st\tNyårsdagen", "Dec 26th\tAnnandag jul"},
        {"Switzerland", 11, "Jan 1st\tNouvel An/Neujahr/Capo d'anno",
         "Dec 31st\tSylvestre/Silvester/S. Silvestro"},
        {"United Kingdom", 9, "Jan 1st\tNew Year's Day", "Dec 31st\tNew Year's Eve"},
        {"United States", 24, "Jan 1st\tNew Year's Day", "Dec 31st\tNew Year's Eve"},
    };
    ASSERT_EQ(builtInHolidayCountries().size(), std::size(cases));
    size_t total = 0;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.country);
        EXPECT_EQ(builtInHolidayCountries()[i], c.country);
        ASSERT_EQ(holidayCountryIndex(c.country), static_cast<int>(i));
        const auto lines = countryHolidayLines(static_cast<int>(i), en);
        ASSERT_EQ(lines.size(), c.count);
        EXPECT_EQ(lines.front(), c.first);
        EXPECT_EQ(lines.back(), c.last);
        total += lines.size();
    }
    EXPECT_EQ(total, 236u);
    EXPECT_EQ(builtInHolidays().size(), 236u);
    for (const BuiltInHoliday& h : builtInHolidays())
        EXPECT_EQ(h.code.size(), 5u) << h.name;
}

TEST(HolidaySets, KnownWrongEntriesAreKeptAsShipped) {
    const auto finland = countryHolidays(holidayCountryIndex("Finland"));
    EXPECT_EQ(finland[5].code, "Dec25");
    EXPECT_EQ(finland[5].name, "Jouluaato");
    const auto spain = countryHolidays(holidayCountryIndex("Spain"));
    EXPECT_EQ(spain[20].code, "Sep13");
    EXPECT_EQ(spain[20].name, "Viernes Santo");
}

TEST(HolidaySets, HolidaysPickedByNameOrCode) {
    const int finland = holidayCountryIndex("Finland");
    std::string unknown;
    // Two entries share the name; a code picks one; list order whatever the names' order.
    EXPECT_EQ(countryHolidaysNamed(finland, {"dec26", "JOULUAATO"}, unknown),
              (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(unknown, "");
    countryHolidaysNamed(finland, {"Vappu", "Juhannus", "Easter"}, unknown);
    EXPECT_EQ(unknown, "Juhannus");
}

TEST(HolidaySets, OrdinalNumbers) {
    const char* expected[] = {"1st",  "2nd",  "3rd",  "4th",  "5th",  "6th",  "7th",  "8th",
                              "9th",  "10th", "11th", "12th", "13th", "14th", "15th", "16th",
                              "17th", "18th", "19th", "20th", "21st", "22nd", "23rd", "24th",
                              "25th", "26th", "27th", "28th", "29th", "30th", "31st"};
    for (int k = 1; k <= 31; ++k)
        EXPECT_EQ(ordinalNumber(k), expected[k - 1]);
}

TEST(HolidaySets, CodeTexts) {
    EXPECT_EQ(holidayCodeText("12Oct", en), "1st Mon in Oct");
    EXPECT_EQ(holidayCodeText("51Oct", en), "Last Sun in Oct");
    EXPECT_EQ(holidayCodeText("45Nov", en), "4th Thu in Nov");
    EXPECT_EQ(holidayCodeText("Jan01", en), "Jan 1st");
    EXPECT_EQ(holidayCodeText("Dec22", en), "Dec 22nd");
    // The weekday in the locale's abbreviation, the month as the code has it.
    EXPECT_EQ(holidayCodeText("32May", german()), "3rd Mo. in May");
}

TEST(HolidaySets, ListLinesBecomeRuleRows) {
    struct Case {
        const char* line;
        const char* row;
    } cases[] = {
        {"Jan 1st\tNew Year's Day", "New Year's Day|01|January|1"},
        {"4th Thu in Nov\tThanksgiving", "Thanksgiving|11|November|Fourth : Thursday"},
        {"Last Sun in Oct\tDST Ends", "DST Ends|10|October|Last : Sunday"},
        {"Dec 31st\tNew Year's Eve", "New Year's Eve|12|December|31"},
        // Not a month of any kind: kept, and so never matched.
        {"Foo 2nd\tOdd", "Odd|00|Foo|2"},
    };
    for (const Case& c : cases) {
        CellTable t = makeHolidayTable();
        addToGrid(t, 1, c.line, en);
        EXPECT_EQ(rowsOf(t), (Rows{c.row, "|||"})) << c.line;
    }
}

TEST(HolidaySets, ImportInsertsAtTheTopInReverseListOrder) {
    const int australia = holidayCountryIndex("Australia");
    CellTable t = makeHolidayTable();
    writeHolidayRow(t, 1, "Mine", "March", "3", en);
    // Boxing Day (Dec26) comes before Christmas (Dec25) in the list.
    const auto added = importHolidays(t, australia, {5, 4}, en);
    EXPECT_EQ(rowsOf(t),
              (Rows{"Christmas|12|December|25", "Boxing Day|12|December|26", "Mine|03|March|3"}));
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0][0], "Boxing Day");
    EXPECT_EQ(added[1][0], "Christmas");

    // Into an empty table the rows take the place of its one empty row; the same lines
    // again are added again.
    CellTable empty = makeHolidayTable();
    importHolidays(empty, australia, {0}, en);
    importHolidays(empty, australia, {0}, en);
    EXPECT_EQ(rowsOf(empty), (Rows{"New Year's Day|01|January|1", "New Year's Day|01|January|1"}));
}

TEST(HolidaySets, ImportUnderAnotherLanguageFallsOnTheRightDays) {
    const FormatSettings de = german();
    CellTable t = makeHolidayTable();
    // Victoria Day (third Monday of May), Civic Holiday (first Monday of August), Christmas.
    importHolidays(t, holidayCountryIndex("Canada - English"), {1, 3, 7}, de);
    EXPECT_EQ(rowsOf(t), (Rows{"Christmas|12|Dezember|25", "Civic Holiday|08|August|First : Montag",
                               "Victoria Day|05|Mai|Third : Montag"}));
    EXPECT_EQ(holidayForDate(t, dateSerialOf(2000, 5, 15), de), "Victoria Day");
    EXPECT_EQ(holidayForDate(t, dateSerialOf(2000, 8, 7), de), "Civic Holiday");
    EXPECT_EQ(holidayForDate(t, dateSerialOf(2000, 12, 25), de), "Christmas");
    EXPECT_EQ(holidayForDate(t, dateSerialOf(2000, 5, 22), de), "");
}

TEST(HolidaySets, LongImportedNamesAreKeptWhole) {
    CellTable t = makeHolidayTable();
    importHolidays(t, holidayCountryIndex("Japan"), {2}, en);
    EXPECT_EQ(t.cell(0, 1), "Commemoration of the Founding of the Nation");
}

} // namespace
} // namespace dw
