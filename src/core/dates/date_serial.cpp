#include "core/dates/date_serial.h"

#include <cmath>

namespace dw {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// 1899-12-30 counted from 1970-01-01.
constexpr long long kEpochOffset = -25569;

} // namespace

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int month, int year) {
    static constexpr int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return lengths[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(month, year);
}

int dateSerialOf(int year, int month, int day) {
    return static_cast<int>(
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kEpochOffset);
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
    return civilFromDays(wholeDays(s) + kEpochOffset);
}

ClockTime decodeTime(DateSerial s) {
    // Round to the millisecond so 10:00 stored as a fraction does not read as 9:59:59.999.
    long long ms = std::llround(dayFraction(s) * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    ClockTime t;
    t.msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

int dayOfWeek(DateSerial s) {
    // Day 0 (30 December 1899) was a Saturday.
    const int d = wholeDays(s);
    int r = (d + 6) % 7; // 0 = Sunday
    if (r < 0)
        r += 7;
    return r + 1;
}

} // namespace dw
