#include "core/dates/date_serial.h"

#include "core/dates/chrono_days.h"

#include <cmath>

namespace dw {

namespace chr = std::chrono;

namespace {

long long floorDiv(long long a, long long b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

} // namespace

bool isLeapYear(int year) {
    return cycleYear(year).is_leap();
}

int daysInMonth(int month, int year) {
    if (month < 1 || month > 12)
        return 0;
    const chr::year_month_day_last last{
        cycleYear(year), chr::month_day_last{chr::month(static_cast<unsigned>(month))}};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(month, year);
}

int dateSerialOf(int year, int month, int day) {
    // Worked out within the year's 400-year cycle, the whole cycles added back. Months and
    // days past their ends run on into the next month or year, as whole-day counts do.
    const long long cycles = floorDiv(year, kYearsPerCycle);
    const chr::year_month month1 =
        chr::year{static_cast<int>(year - cycles * kYearsPerCycle)} / chr::January +
        chr::months{month - 1};
    const chr::sys_days date = chr::sys_days{month1 / 1} + chr::days{day - 1};
    return static_cast<int>(serialOf(date) + cycles * kDaysPerCycle);
}

double timeFraction(int hour, int minute, int second, int msec) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
}

DateSerial encodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const int d = dateSerialOf(year, month, day);
    const double t = timeFraction(hour, minute, second);
    // Before the epoch the time still counts forward within the day.
    return d >= 0 ? d + t : d - t;
}

int wholeDays(DateSerial s) {
    if (!std::isfinite(s) || s > 2.0e9 || s < -2.0e9)
        return 0;
    return static_cast<int>(s); // cut toward zero
}

double dayFraction(DateSerial s) {
    if (!std::isfinite(s))
        return 0.0;
    return std::fabs(s - std::trunc(s));
}

CivilDate decodeDate(DateSerial s) {
    const long long serial = wholeDays(s);
    const long long cycles = floorDiv(serial, kDaysPerCycle);
    const chr::year_month_day date{sysDaysOf(serial - cycles * kDaysPerCycle)};
    return {static_cast<int>(static_cast<int>(date.year()) + cycles * kYearsPerCycle),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

ClockTime decodeTime(DateSerial s) {
    // Round to the millisecond so 10:00 stored as a fraction does not read as 9:59:59.999.
    long long ms = std::llround(dayFraction(s) * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    const chr::hh_mm_ss<chr::milliseconds> t{chr::milliseconds{ms}};
    return {static_cast<int>(t.hours().count()), static_cast<int>(t.minutes().count()),
            static_cast<int>(t.seconds().count()), static_cast<int>(t.subseconds().count())};
}

int dayOfWeek(DateSerial s) {
    return weekdayNumber(chr::weekday{sysDaysOf(wholeDays(s))});
}

} // namespace dw
