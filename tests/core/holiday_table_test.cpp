#include "core/holidays/holiday_table.h"
#include "support/table_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

using test::rowsOf;
using test::setDataRows;
using Rows = std::vector<std::string>;

const FormatSettings en = FormatSettings::enUS();

CellTable tableOf(const std::vector<std::vector<std::string>>& rows) {
    CellTable t = makeHolidayTable();
    setDataRows(t, rows);
    return t;
}

CellTable fiveHolidays() {
    return tableOf({{"A", "01", "January", "1"},
                    {"B", "02", "February", "2"},
                    {"C", "03", "March", "3"},
                    {"D", "04", "April", "4"},
                    {"E", "05", "May", "5"}});
}

TEST(HolidayTable, EmptyTableHasTheListsHeadersAndOneEmptyRow) {
    const CellTable t = makeHolidayTable();
    EXPECT_EQ(t.cell(0, 0), "Holiday name");
    EXPECT_EQ(t.cell(1, 0), "Mo #");
    EXPECT_EQ(t.cell(2, 0), "Month");
    EXPECT_EQ(t.cell(3, 0), "Day of month");
    EXPECT_EQ(t.colWidth(0), 286);
    EXPECT_EQ(rowsOf(t), Rows{"|||"});
    EXPECT_FALSE(t.canSort(0));
}

TEST(HolidayTable, MonthNumberOfText) {
    EXPECT_EQ(monthNumberOfText("January", en), 1);
    EXPECT_EQ(monthNumberOfText("dEcEmBeR", en), 12);
    EXPECT_EQ(monthNumberOfText("Dezember", en), 0);
    EXPECT_EQ(monthNumberOfText("", en), 0);
}

TEST(HolidayTable, AddDeleteAndMoveRows) {
    // Add on an empty table uses its empty row.
    CellTable empty = makeHolidayTable();
    EXPECT_EQ(rowForNewHoliday(empty, 1), 1);
    EXPECT_EQ(empty.rowCount(), 2);

    // Add at row 3: the new row is row 3, the old one moves to row 4.
    CellTable t = fiveHolidays();
    EXPECT_EQ(rowForNewHoliday(t, 3), 3);
    writeHolidayRow(t, 3, "New", "june", "First : Monday", en);
    EXPECT_EQ(rowsOf(t), (Rows{"A|01|January|1", "B|02|February|2", "New|06|june|First : Monday",
                               "C|03|March|3", "D|04|April|4", "E|05|May|5"}));

    // Deleting the only holiday leaves one empty row; deleting another removes it.
    CellTable one = tableOf({{"Only", "01", "January", "1"}});
    deleteHolidayRow(one, 1);
    EXPECT_EQ(rowsOf(one), Rows{"|||"});
    CellTable two = tableOf({{"A", "01", "January", "1"}, {"B", "02", "February", "2"}});
    deleteHolidayRow(two, 1);
    EXPECT_EQ(rowsOf(two), Rows{"B|02|February|2"});

    // Row 5 dragged onto row 2, and back down.
    CellTable moved = fiveHolidays();
    moveHolidayRow(moved, 5, 2);
    EXPECT_EQ(rowsOf(moved), (Rows{"A|01|January|1", "E|05|May|5", "B|02|February|2",
                                   "C|03|March|3", "D|04|April|4"}));
    moveHolidayRow(moved, 2, 5);
    EXPECT_EQ(rowsOf(moved), rowsOf(fiveHolidays()));
}

TEST(HolidayTable, DayListOfferFebruary29AndAllDaysForAnUnknownMonth) {
    EXPECT_EQ(dayListOfMonth(2).size(), 29u);
    EXPECT_EQ(dayListOfMonth(4).size(), 30u);
    EXPECT_EQ(dayListOfMonth(0).size(), 31u);
    EXPECT_EQ(dayListOfMonth(1).front(), "1");
}

TEST(HolidayTable, DraftsReadAndWriteRows) {
    struct Case {
        std::vector<std::string> row;
        bool floating;
        int month, day, ordinal, weekday;
        std::string rule; // as written back
    } cases[] = {
        {{"Xmas", "12", "December", "25"}, false, 12, 25, 1, 1, "25"},
        {{"Vote", "11", "NOVEMBER", "Second : Tuesday"}, true, 11, 1, 2, 3, "Second : Tuesday"},
        {{"Zero", "01", "January", "0"}, false, 1, 1, 1, 1, "1"},
        // Not in the lists: nothing chosen, the row's own texts kept.
        {{"Fremd", "00", "Dezember", "Zweiter : Dienstag"}, true, 0, 1, 0, 0, "Zweiter : Dienstag"},
        {{"Odd", "02", "February", "30"}, false, 2, 0, 1, 1, "30"},
        {{"Junk", "03", "March", "abc"}, false, 3, 0, 1, 1, "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row[0]);
        CellTable t = tableOf({c.row});
        const HolidayDraft d = holidayDraftOfRow(t, 1, en);
        EXPECT_EQ(d.name, c.row[0]);
        EXPECT_EQ(d.floating, c.floating);
        EXPECT_EQ(d.month, c.month);
        EXPECT_EQ(d.day, c.day);
        EXPECT_EQ(d.ordinal, c.ordinal);
        EXPECT_EQ(d.weekday, c.weekday);
        // Written back unchanged but for the month's spelling and a day below 1.
        writeHolidayDraft(t, 1, d, en);
        EXPECT_EQ(t.cell(3, 1), c.rule);
        EXPECT_EQ(t.cell(2, 1), c.month ? en.longMonthNames[size_t(c.month - 1)] : c.row[2]);
    }

    // A choice made for one piece replaces only that piece.
    CellTable t = tableOf({{"Fremd", "00", "Dezember", "Zweiter : Dienstag"}});
    HolidayDraft d = holidayDraftOfRow(t, 1, en);
    d.weekday = 4;
    writeHolidayDraft(t, 1, d, en);
    EXPECT_EQ(rowsOf(t), Rows{"Fremd|00|Dezember|Zweiter : Wednesday"});
    d.month = 2;
    d.floating = false;
    d.day = 29;
    writeHolidayDraft(t, 1, d, en);
    EXPECT_EQ(rowsOf(t), Rows{"Fremd|02|February|29"});

    const HolidayDraft fresh = newHolidayDraft(7, 14);
    CellTable added = makeHolidayTable();
    writeHolidayDraft(added, 1, fresh, en);
    EXPECT_EQ(rowsOf(added), Rows{"|07|July|14"});
}

} // namespace
} // namespace dw
