#pragma once

#include "core/dates/date_serial.h" // daysInMonth, used with these rules by the editor
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <optional>
#include <string>
#include <string_view>

namespace dw {

// Holidays are stored as rules, not dates, in a four-column table: name, month number
// ("%.2d"), month text (the locale's full month name) and the rule. A rule is a fixed day
// ("25") or a floating one: an ordinal word, " : " and the locale's full weekday name
// ("First : Monday", "Last : Sunday"). Rules are evaluated afresh for every lookup.

enum HolidayColumn {
    kHolidayName = 0,
    kHolidayMonthNumber = 1,
    kHolidayMonth = 2,
    kHolidayRule = 3
};

// Ordinal numbers of floating rules: 1 to 4, and 5 for the last one of the month.
inline constexpr int kLastOrdinal = 5;

// A rule text is floating exactly when it holds a colon.
bool isFloatingRule(std::string_view rule);

// The day of the month (1..31) of the n-th given weekday (1 = Sunday .. 7 = Saturday);
// n of 5 or more means the last one. 0 when there is none (bad month, weekday or n).
int nthWeekdayOfMonth(int year, int month, int n, int weekday);

// The whole-day serial on which the rule falls in that month and year. A floating rule
// whose ordinal word or weekday name is missing falls on day 1. A fixed rule that is not a
// day of that month ("31" in April, "29" in February of a common year, "0", "abc", "")
// falls on no day at all; so does anything outside the calendar's years 1 to 9999.
std::optional<int> holidayDate(int year, int month, std::string_view rule,
                               const FormatSettings& fs);

// The name of the first holiday, in table order, that falls on the date (any time of day);
// empty when none. Rows from 1 to the last are read; a row counts for the date's month when
// its month text, in any case, contains the locale's full name of that month.
std::string holidayForDate(const CellTable& table, DateSerial date, const FormatSettings& fs);

// The ordinal (1..4, or kLastOrdinal) and the weekday (1 = Sunday .. 7) of a floating rule,
// found as the lookup finds them; nothing for a fixed rule or when either is missing (such
// a rule falls on day 1).
struct FloatingDay {
    int ordinal = 0;
    int weekday = 0;
};
std::optional<FloatingDay> floatingDayOf(std::string_view rule, const FormatSettings& fs);

// The rule text for a floating day, "%s : %s": ordinal 1..5 (First, Second, Third, Fourth,
// Last) and weekday 1..7 named in the locale. Empty when either is out of range.
std::string floatingRuleText(int ordinal, int weekday, const FormatSettings& fs);

} // namespace dw
