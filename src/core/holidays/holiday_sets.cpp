#include "core/holidays/holiday_sets.h"

#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "core/text/lower_text.h"

#include <algorithm>
#include <array>

namespace dw {

namespace {

// The codes' month and weekday abbreviations.
constexpr std::array<std::string_view, 12> kCodeMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kCodeWeekdays{"Sun", "Mon", "Tue", "Wed",
                                                        "Thu", "Fri", "Sat"};

// A list line's name is kept to this many characters.
constexpr std::size_t kNameMaxChars = 255;

// 1-based position of the first name equal to the text, case aside; 0 when none. Empty
// names never match.
template <typename Names> int matchName(const Names& names, std::string_view text) {
    const std::string wanted = foldCase(text);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = foldCase(names[i]);
        if (!name.empty() && name == wanted)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// The lines give the months as the codes do; the locale's own abbreviations are read too.
int monthOfAbbreviation(std::string_view text, const FormatSettings& fs) {
    if (const int month = matchName(kCodeMonths, text))
        return month;
    return matchName(fs.shortMonthNames, text);
}

// The lines give the weekdays in the locale's abbreviations; the codes' English ones are
// read too.
int weekdayOfAbbreviation(std::string_view text, const FormatSettings& fs) {
    if (const int weekday = matchName(fs.shortDayNames, text))
        return weekday;
    return matchName(kCodeWeekdays, text);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The first `count` characters of a UTF-8 text, never cutting one in two.
std::string_view firstChars(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t chars = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte & 0xC0) != 0x80 && chars++ == count)
            break;
    }
    return text.substr(0, at);
}

std::string monthText(std::string_view abbreviation, const FormatSettings& fs) {
    const int month = monthOfAbbreviation(abbreviation, fs);
    return month ? fs.longMonthNames[static_cast<std::size_t>(month - 1)]
                 : std::string(abbreviation);
}

bool isFloatingLine(std::string_view line) {
    return (!line.empty() && line[0] >= '1' && line[0] <= '4') || line.substr(0, 4) == "Last";
}

std::string floatingOrdinal(std::string_view line) {
    const std::string head = foldCase(line.substr(0, 4));
    const std::pair<const char*, const char*> words[] = {
        {"1st", "First"}, {"2nd", "Second"}, {"3rd", "Third"}, {"4th", "Fourth"}, {"last", "Last"}};
    for (const auto& [mark, word] : words)
        if (head.find(mark) != std::string::npos)
            return word;
    return {};
}

} // namespace

int holidayCountryIndex(std::string_view name) {
    const std::span<const std::string_view> countries = builtInHolidayCountries();
    for (std::size_t i = 0; i < countries.size(); ++i)
        if (foldCase(countries[i]) == foldCase(name))
            return static_cast<int>(i);
    return -1;
}

std::vector<BuiltInHoliday> countryHolidays(int country) {
    std::vector<BuiltInHoliday> entries;
    for (const BuiltInHoliday& entry : builtInHolidays()) {
        if (entry.country > country)
            break;
        if (entry.country == country)
            entries.push_back(entry);
    }
    return entries;
}

std::vector<int> countryHolidaysNamed(int country, const std::vector<std::string>& names,
                                      std::string& unknown) {
    const std::vector<BuiltInHoliday> entries = countryHolidays(country);
    std::vector<bool> picked(entries.size(), false);
    unknown.clear();
    for (const std::string& name : names) {
        const std::string wanted = foldCase(name);
        bool found = false;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (foldCase(entries[i].name) == wanted || foldCase(entries[i].code) == wanted) {
                picked[i] = true;
                found = true;
            }
        }
        if (!found && unknown.empty())
            unknown = name;
    }
    std::vector<int> positions;
    for (std::size_t i = 0; i < picked.size(); ++i)
        if (picked[i])
            positions.push_back(static_cast<int>(i));
    return positions;
}

std::string ordinalNumber(int k) {
    const char* suffix = "th";
    if (k == 1 || k == 21 || k == 31)
        suffix = "st";
    else if (k == 2 || k == 22 || k == 32)
        suffix = "nd";
    else if (k == 3 || k == 23 || k == 33)
        suffix = "rd";
    return std::to_string(k) + suffix;
}

std::string holidayCodeText(std::string_view code, const FormatSettings& fs) {
    if (code.size() < 5)
        return std::string(code);
    if (code[0] >= '0' && code[0] <= '9') {
        const int n = code[0] - '0';
        const int w = code[1] - '0';
        const std::string weekday =
            w >= 1 && w <= 7 ? fs.shortDayNames[static_cast<std::size_t>(w - 1)] : std::string();
        return (n == kLastOrdinal ? std::string("Last") : ordinalNumber(n)) + " " + weekday +
               " in " + std::string(code.substr(2, 3));
    }
    const int day = (code[3] - '0') * 10 + (code[4] - '0');
    return std::string(code.substr(0, 3)) + " " + ordinalNumber(day);
}

std::vector<std::string> countryHolidayLines(int country, const FormatSettings& fs) {
    std::vector<std::string> lines;
    for (const BuiltInHoliday& entry : countryHolidays(country))
        lines.push_back(holidayCodeText(entry.code, fs) + "\t" + std::string(entry.name));
    return lines;
}

void addToGrid(CellTable& table, int row, std::string_view line, const FormatSettings& fs) {
    const auto tab = line.find('\t');
    const std::string_view when = line.substr(0, tab);
    const std::string name(tab == std::string_view::npos
                               ? std::string_view()
                               : firstChars(line.substr(tab + 1), kNameMaxChars));
    const auto space = when.find(' ');

    std::string month;
    std::string rule;
    if (!isFloatingLine(line)) {
        month = monthText(firstChars(when, 3), fs);
        if (space != std::string_view::npos)
            for (const char c : when.substr(space + 1))
                if (c >= '0' && c <= '9')
                    rule += c;
    } else {
        const auto in = when.find(" in ");
        month = in == std::string_view::npos ? std::string()
                                             : monthText(firstChars(when.substr(in + 4), 3), fs);
        // The weekday is the locale's abbreviation, which may be longer or shorter than
        // three characters: everything between the first space and " in ".
        const std::string abbreviation =
            space == std::string_view::npos
                ? std::string()
                : trimmed(when.substr(space + 1, in == std::string_view::npos
                                                     ? std::string_view::npos
                                                     : in - space - 1));
        const int weekday = weekdayOfAbbreviation(abbreviation, fs);
        rule = floatingOrdinal(line) + " : " +
               (weekday ? fs.longDayNames[static_cast<std::size_t>(weekday - 1)] : abbreviation);
    }

    if (table.colCount() < 4)
        table.setColCount(4);
    row = std::clamp(row, 1, std::max(1, table.rowCount()));
    table.insertRows(row, 1);
    writeHolidayRow(table, row, name, month, rule, fs);
}

std::vector<CellTable::Row> importHolidays(CellTable& table, int country,
                                           const std::vector<int>& chosen,
                                           const FormatSettings& fs) {
    const std::vector<std::string> lines = countryHolidayLines(country, fs);
    std::vector<int> positions;
    for (const int i : chosen)
        if (i >= 0 && i < static_cast<int>(lines.size()))
            positions.push_back(i);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());

    // An empty table is its header and one empty row; the imported rows take its place.
    const bool onlyEmptyRow = table.rowCount() == 2 && [&] {
        for (int col = 0; col < table.colCount(); ++col)
            if (!table.cell(col, 1).empty())
                return false;
        return true;
    }();

    std::vector<CellTable::Row> added;
    for (const int i : positions) {
        addToGrid(table, 1, lines[static_cast<std::size_t>(i)], fs);
        added.push_back(table.row(1));
    }
    if (onlyEmptyRow && !added.empty())
        table.removeRows(table.rowCount() - 1, 1);
    return added;
}

} // namespace dw
