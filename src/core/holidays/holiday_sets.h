#pragma once

#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The ready-made holiday lists of 23 countries and regions.
//
// An entry's code tells when it falls: a fixed date is the English month abbreviation and
// a two-digit day ("Dec25"); a floating one is an ordinal digit (1..4, 5 for the last), a
// weekday digit (1 = Sunday .. 7 = Saturday) and the month abbreviation ("45Nov" is the
// fourth Thursday of November).
struct BuiltInHoliday {
    int country; // position in builtInHolidayCountries()
    std::string_view code;
    std::string_view name;
};

// Every entry, grouped by country in the countries' order.
std::span<const BuiltInHoliday> builtInHolidays();
// The countries in the order the import dialog lists them ("Australia" first).
std::span<const std::string_view> builtInHolidayCountries();
// A country's position, its name compared without regard to ASCII case; -1 when unknown.
int holidayCountryIndex(std::string_view name);
// The entries of one country, in list order.
std::vector<BuiltInHoliday> countryHolidays(int country);

// The list positions, in list order, of a country's entries named by their names or codes
// ("Dec25"), case aside; a name that several entries share picks each of them. `unknown`
// gets the first name that picks none (and is left empty when every name picks one).
std::vector<int> countryHolidaysNamed(int country, const std::vector<std::string>& names,
                                      std::string& unknown);

// k followed by "st", "nd", "rd" or "th": 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st, 22nd.
std::string ordinalNumber(int k);

// How a code reads in the lists: "Jan 1st", "1st Mon in Oct", "Last Sun in Oct" (the
// weekday abbreviated in the locale, the month as the code has it).
std::string holidayCodeText(std::string_view code, const FormatSettings& fs);

// The import dialog's lines of a country: the code's text, a tab, the name.
std::vector<std::string> countryHolidayLines(int country, const FormatSettings& fs);

// Turns one list line into a holiday row inserted at `row` of the table (that row and those
// below move down), written with the locale's full month and weekday names so that it falls
// on its day in every year. The month and weekday abbreviations are read as the English
// ones of the codes or as the locale's own; a text that is neither is kept as it is.
void addToGrid(CellTable& table, int row, std::string_view line, const FormatSettings& fs);

// The import: the chosen lines of a country (positions in countryHolidayLines, any order)
// go in from the top of the list, each inserted as row 1, so they end at the top of the
// table in the reverse of their list order. A table that held only its one empty row loses
// that row. Answers the rows added, in list order, each as its four cells.
std::vector<CellTable::Row> importHolidays(CellTable& table, int country,
                                           const std::vector<int>& chosen,
                                           const FormatSettings& fs);

} // namespace dw
