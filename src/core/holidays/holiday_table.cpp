#include "core/holidays/holiday_table.h"

#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/text/lower_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace dw {

namespace {

constexpr std::string_view kFloatingSeparator = " : ";
// The longest weekday text taken from a rule, as the editor reads it.
constexpr std::size_t kWeekdayTextMax = 255;

std::string twoDigits(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2d", number);
    return text;
}

// The position (1-based) of the entry equal to the text without regard to case; 0 when none.
template <typename Names> int positionOf(const Names& names, std::string_view text) {
    const std::string wanted = foldCase(text);
    int position = 1;
    for (const auto& name : names) {
        if (foldCase(name) == wanted)
            return position;
        ++position;
    }
    return 0;
}

} // namespace

TableFileRules holidayFileRules() {
    // Older versions made the holiday table with three blank rows, and holidays may go in
    // above blank rows, so a list may end in as many (a cut file that lost no more rows than
    // that cannot be told from such a list).
    TableFileRules rules;
    rules.blankRowsAtEnd = 3;
    rules.blankRowsAtEndWithoutData = 3;
    return rules;
}

CellTable makeHolidayTable() {
    CellTable table(4, 2);
    table.setFileRules(holidayFileRules());
    const char* headers[] = {"Holiday name", "Mo #", "Month", "Day of month"};
    const int widths[] = {286, 61, 80, 121};
    for (int col = 0; col < 4; ++col) {
        table.setCell(col, 0, headers[col]);
        table.setColWidth(col, widths[col]);
    }
    table.setMinColCount(4);
    // The order of the rows is the user's: no column sorts them.
    table.setCanSort([](int) { return false; });
    return table;
}

int monthNumberOfText(std::string_view text, const FormatSettings& fs) {
    // An empty name would equal an empty text; no month is called that.
    if (text.empty())
        return 0;
    return positionOf(fs.longMonthNames, text);
}

void writeHolidayRow(CellTable& table, int row, const std::string& name,
                     const std::string& monthText, const std::string& rule,
                     const FormatSettings& fs) {
    table.setCell(kHolidayName, row, name);
    table.setCell(kHolidayMonthNumber, row, twoDigits(monthNumberOfText(monthText, fs)));
    table.setCell(kHolidayMonth, row, monthText);
    table.setCell(kHolidayRule, row, rule);
}

bool isHolidayRow(const CellTable& table, int row) {
    return row >= 1 && row < table.rowCount() && !table.cell(kHolidayName, row).empty();
}

int rowForNewHoliday(CellTable& table, int selectedRow) {
    if (table.rowCount() < 2)
        table.setRowCount(2);
    const int row = std::clamp(selectedRow, 1, table.rowCount() - 1);
    if (isHolidayRow(table, row))
        table.insertRows(row, 1);
    return row;
}

void deleteHolidayRow(CellTable& table, int row) {
    if (row < 1 || row >= table.rowCount())
        return;
    if (table.rowCount() < 3) {
        for (int col = 0; col < table.colCount(); ++col)
            table.setCell(col, row, {});
        return;
    }
    table.removeRows(row, 1);
}

void moveHolidayRow(CellTable& table, int from, int to) {
    const int last = table.rowCount() - 1;
    if (from < 1 || to < 1 || from > last || to > last || from == to)
        return;
    const int step = from < to ? 1 : -1;
    for (int r = from; r != to; r += step)
        table.swapRows(r, r + step);
}

const std::vector<std::string>& ordinalWords() {
    static const std::vector<std::string> words{"First", "Second", "Third", "Fourth", "Last"};
    return words;
}

std::vector<std::string> dayListOfMonth(int month) {
    // A leap year, so that 29 February can be chosen.
    const int length = month >= 1 && month <= 12 ? daysInMonth(month, 1996) : 31;
    std::vector<std::string> days;
    for (int day = 1; day <= length; ++day)
        days.push_back(std::to_string(day));
    return days;
}

HolidayDraft newHolidayDraft(int month, int day) {
    HolidayDraft draft;
    draft.month = month;
    draft.day = day;
    draft.ordinal = 1;
    draft.weekday = 1;
    return draft;
}

HolidayDraft holidayDraftOfRow(const CellTable& table, int row, const FormatSettings& fs) {
    HolidayDraft draft;
    draft.name = table.cell(kHolidayName, row);
    draft.ownMonthText = table.cell(kHolidayMonth, row);
    draft.month = monthNumberOfText(draft.ownMonthText, fs);
    const std::string& rule = table.cell(kHolidayRule, row);
    const auto separator = rule.find(kFloatingSeparator);
    draft.floating = separator != std::string::npos;
    if (draft.floating) {
        draft.ownOrdinalText = rule.substr(0, separator);
        draft.ownWeekdayText = rule.substr(separator + kFloatingSeparator.size(), kWeekdayTextMax);
        draft.ordinal = positionOf(ordinalWords(), draft.ownOrdinalText);
        draft.weekday = positionOf(fs.longDayNames, draft.ownWeekdayText);
        draft.day = 1;
        return draft;
    }
    // A specific day; switching such a row to a floating one starts at the first Sunday.
    draft.ownDayText = rule;
    draft.ordinal = 1;
    draft.weekday = 1;
    int day = 0;
    const auto [end, ec] = std::from_chars(rule.data(), rule.data() + rule.size(), day);
    const bool number = ec == std::errc() && end == rule.data() + rule.size();
    if (!number)
        return draft; // kept as it is unless a day is chosen
    const int length = static_cast<int>(dayListOfMonth(draft.month).size());
    draft.day = day < 1 ? 1 : (day <= length ? day : 0);
    return draft;
}

void writeHolidayDraft(CellTable& table, int row, const HolidayDraft& draft,
                       const FormatSettings& fs) {
    const std::string monthText = draft.month >= 1 && draft.month <= 12
                                      ? fs.longMonthNames[static_cast<std::size_t>(draft.month - 1)]
                                      : draft.ownMonthText;
    std::string rule;
    if (draft.floating) {
        const std::string ordinal =
            draft.ordinal >= 1 && draft.ordinal <= kLastOrdinal
                ? ordinalWords()[static_cast<std::size_t>(draft.ordinal - 1)]
                : draft.ownOrdinalText;
        const std::string weekday =
            draft.weekday >= 1 && draft.weekday <= 7
                ? fs.longDayNames[static_cast<std::size_t>(draft.weekday - 1)]
                : draft.ownWeekdayText;
        rule = ordinal + std::string(kFloatingSeparator) + weekday;
    } else {
        rule = draft.day >= 1 ? std::to_string(draft.day) : draft.ownDayText;
    }
    writeHolidayRow(table, row, draft.name, monthText, rule, fs);
}

} // namespace dw
