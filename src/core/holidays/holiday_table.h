#pragma once

#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The holiday table as the holiday list edits it: the rows' order is the order in which a
// date's holidays are looked for, so the list never sorts it.

// An empty holiday table: the header row ("Holiday name", "Mo #", "Month", "Day of month"),
// the list's column widths and one empty row.
CellTable makeHolidayTable();
// How a holiday file is told whole from one cut short (every table holiday.grd loads into).
TableFileRules holidayFileRules();

// The number (1..12) of the locale's full month name equal to the text, case aside; 0 when
// the text names no month.
int monthNumberOfText(std::string_view text, const FormatSettings& fs);

// Writes a holiday into a row: its name, the month's number ("%.2d"), the month text and the
// rule.
void writeHolidayRow(CellTable& table, int row, const std::string& name,
                     const std::string& monthText, const std::string& rule,
                     const FormatSettings& fs);

// Add: the row a new holiday goes into. A selected row that holds a holiday gets a new
// empty row in its place (it and those below move down); an empty one is used itself.
int rowForNewHoliday(CellTable& table, int selectedRow);
// Delete: a table with one holiday row keeps it, emptied; otherwise the row goes.
void deleteHolidayRow(CellTable& table, int row);
// Drag: the row moves to `to`; the rows between close the gap.
void moveHolidayRow(CellTable& table, int from, int to);
// Whether a row holds a holiday (its name is not empty).
bool isHolidayRow(const CellTable& table, int row);

// What the holiday editor shows and what the user chose. A choice of 0 means "not chosen
// from the lists": the row's own text for that piece is kept, so a row written under
// another language or by hand is never spoiled by opening it.
struct HolidayDraft {
    std::string name;
    int month = 0; // 1..12
    std::string ownMonthText;
    bool floating = false;
    int day = 0; // 1..31
    std::string ownDayText;
    int ordinal = 0; // 1..5
    std::string ownOrdinalText;
    int weekday = 0; // 1..7, Sunday first
    std::string ownWeekdayText;
};

// A new holiday: the current month and day, "First" and Sunday, a specific day.
HolidayDraft newHolidayDraft(int month, int day);
// A row opened for editing. A rule holding " : " is floating: the ordinal before it, the
// weekday after (at most 255 characters); any other rule is a day number (below 1: day 1).
HolidayDraft holidayDraftOfRow(const CellTable& table, int row, const FormatSettings& fs);
// The draft written into a row.
void writeHolidayDraft(CellTable& table, int row, const HolidayDraft& draft,
                       const FormatSettings& fs);

// The ordinal words of floating rules, First..Last.
const std::vector<std::string>& ordinalWords();
// The day list of a month: "1" to its length in a leap year (February offers 29); all 31
// days when the month is not known.
std::vector<std::string> dayListOfMonth(int month);

} // namespace dw
