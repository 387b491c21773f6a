#pragma once

// Between our whole-day serials and <chrono>'s calendar types, for the files that do date
// arithmetic. Kept out of date_serial.h so that its many readers need not parse <chrono>.

#include <chrono>

namespace dw {

// Day 0 of the serials, 30 December 1899.
inline constexpr std::chrono::sys_days kSerialEpoch{std::chrono::year{1899} /
                                                    std::chrono::December / 30};

inline constexpr std::chrono::sys_days sysDaysOf(long long serial) {
    return kSerialEpoch + std::chrono::days{serial};
}
inline constexpr long long serialOf(std::chrono::sys_days d) {
    return (d - kSerialEpoch).count();
}

// Our weekday numbers run 1 = Sunday .. 7 = Saturday; chrono's C encoding is one less.
inline constexpr std::chrono::weekday chronoWeekday(int weekday) {
    return std::chrono::weekday{static_cast<unsigned>(weekday - 1)};
}
inline constexpr int weekdayNumber(std::chrono::weekday w) {
    return static_cast<int>(w.c_encoding()) + 1;
}

// The Gregorian calendar repeats every 400 years (146097 days, a whole number of weeks), but
// chrono's year holds only -32767..32767. A year taken to the same place in its cycle has the
// same month lengths and weekdays, so any int year can be asked about.
inline constexpr int kYearsPerCycle = 400;
inline constexpr long long kDaysPerCycle = 146097;
inline constexpr std::chrono::year cycleYear(int year) {
    return std::chrono::year{year % kYearsPerCycle};
}

// A date whose day its month lacks (31 April, 29 February of a common year) moved back to
// the month's last day.
inline constexpr std::chrono::year_month_day clampToMonth(std::chrono::year_month_day d) {
    return d.ok() ? d : std::chrono::year_month_day{d.year() / d.month() / std::chrono::last};
}

inline constexpr int dayOfMonthOf(std::chrono::sys_days d) {
    return static_cast<int>(static_cast<unsigned>(std::chrono::year_month_day{d}.day()));
}

} // namespace dw
