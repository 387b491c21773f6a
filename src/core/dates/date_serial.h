#pragma once

// Dates as day counts: whole days since 30 December 1899, the time of day as the
// fraction. 1 January 2000 is 36526. Weekdays are numbered 1 = Sunday to 7 = Saturday.
// Serials before day 0 follow the old convention: the whole part counts days back and
// the fraction is still the time of day, so -1.25 is 29 December 1899 06:00.

namespace dw {

using DateSerial = double;

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

bool isLeapYear(int year);
int daysInMonth(int month, int year);
bool isValidDate(int year, int month, int day);

// The whole-day serial of a civil date (no validation: the caller checks with isValidDate).
int dateSerialOf(int year, int month, int day);
inline int dateSerialOf(const CivilDate& d) {
    return dateSerialOf(d.year, d.month, d.day);
}

// Fraction of a day for a time of day.
double timeFraction(int hour, int minute, int second = 0, int msec = 0);

DateSerial encodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);

// The whole-day part (cut toward zero) and the time-of-day part.
int wholeDays(DateSerial s);
double dayFraction(DateSerial s);

CivilDate decodeDate(DateSerial s);
ClockTime decodeTime(DateSerial s);

// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(DateSerial s);

} // namespace dw
