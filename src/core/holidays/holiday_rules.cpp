#include "core/holidays/holiday_rules.h"

#include "core/dates/chrono_days.h"
#include "core/text/lower_text.h"

#include <array>
#include <charconv>

namespace dw {

namespace chr = std::chrono;

namespace {

constexpr std::array<const char*, 5> kOrdinalWords{"First", "Second", "Third", "Fourth", "Last"};
// The same words as they are looked for in a lowercased rule.
constexpr std::array<std::string_view, 5> kOrdinalKeys{"first", "second", "third", "fourth",
                                                       "last"};

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The first ordinal word found anywhere in the lowercased rule, in the order First..Last;
// the order matters for texts that hold more than one.
int ordinalOf(std::string_view lowerRule) {
    for (size_t i = 0; i < kOrdinalKeys.size(); ++i) {
        if (contains(lowerRule, kOrdinalKeys[i]))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// The first of the locale's weekday names, Sunday first, found in the lowercased rule. An
// empty name would be found in every text, so it never counts.
int weekdayOf(std::string_view lowerRule, const FormatSettings& fs) {
    for (size_t i = 0; i < fs.longDayNames.size(); ++i) {
        const std::string name = foldCase(fs.longDayNames[i]);
        if (!name.empty() && contains(lowerRule, name))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// A fixed rule's day: a decimal number, blanks around it tolerated for hand-edited files.
// Anything else is no day; the caller still checks that the day exists in the month.
std::optional<int> fixedDayOf(std::string_view rule) {
    const auto first = rule.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    rule = rule.substr(first, rule.find_last_not_of(" \t") - first + 1);
    int day = 0;
    const auto [end, ec] = std::from_chars(rule.data(), rule.data() + rule.size(), day);
    if (ec != std::errc() || end != rule.data() + rule.size())
        return std::nullopt;
    return day;
}

} // namespace

bool isFloatingRule(std::string_view rule) {
    return contains(rule, ":");
}

int nthWeekdayOfMonth(int year, int month, int n, int weekday) {
    if (daysInMonth(month, year) == 0 || weekday < 1 || weekday > 7 || n < 1)
        return 0;
    const chr::year_month ym = cycleYear(year) / chr::month(static_cast<unsigned>(month));
    const chr::weekday wd = chronoWeekday(weekday);
    // The first four of a weekday always fall within the month.
    if (n >= kLastOrdinal)
        return dayOfMonthOf(chr::sys_days{ym / wd[chr::last]});
    return dayOfMonthOf(chr::sys_days{ym / wd[static_cast<unsigned>(n)]});
}

std::optional<int> holidayDate(int year, int month, std::string_view rule,
                               const FormatSettings& fs) {
    if (!isValidDate(year, month, 1))
        return std::nullopt;

    int day = 1;
    if (!isFloatingRule(rule)) {
        const auto fixed = fixedDayOf(rule);
        if (!fixed || !isValidDate(year, month, *fixed))
            return std::nullopt;
        day = *fixed;
    } else {
        if (const auto floating = floatingDayOf(rule, fs))
            day = nthWeekdayOfMonth(year, month, floating->ordinal, floating->weekday);
    }
    return dateSerialOf(year, month, day);
}

std::string holidayForDate(const CellTable& table, DateSerial date, const FormatSettings& fs) {
    const CivilDate civil = decodeDate(date);
    if (civil.month < 1 || civil.month > 12)
        return {};
    const std::string monthName = foldCase(fs.longMonthNames[static_cast<size_t>(civil.month - 1)]);
    // An empty month name would match every row, including empty ones.
    if (monthName.empty())
        return {};
    const int day = wholeDays(date);

    for (int row = 1; row < table.rowCount(); ++row) {
        if (!contains(foldCase(table.cell(kHolidayMonth, row)), monthName))
            continue;
        if (holidayDate(civil.year, civil.month, table.cell(kHolidayRule, row), fs) == day)
            return table.cell(kHolidayName, row);
    }
    return {};
}

std::optional<FloatingDay> floatingDayOf(std::string_view rule, const FormatSettings& fs) {
    if (!isFloatingRule(rule))
        return std::nullopt;
    const std::string lowerRule = foldCase(rule);
    const int ordinal = ordinalOf(lowerRule);
    const int weekday = ordinal != 0 ? weekdayOf(lowerRule, fs) : 0;
    if (ordinal == 0 || weekday == 0)
        return std::nullopt;
    return FloatingDay{ordinal, weekday};
}

std::string floatingRuleText(int ordinal, int weekday, const FormatSettings& fs) {
    if (ordinal < 1 || ordinal > kLastOrdinal || weekday < 1 || weekday > 7)
        return {};
    return std::string(kOrdinalWords[static_cast<size_t>(ordinal - 1)]) + " : " +
           fs.longDayNames[static_cast<size_t>(weekday - 1)];
}

} // namespace dw
