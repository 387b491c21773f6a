#include "core/calendar/relative_date.h"

namespace dw {

namespace {

long long monthIndex(const CivilDate& c) {
    return static_cast<long long>(c.year) * 12 + c.month;
}

std::string monthsText(long long months) {
    return std::to_string(months) + " mon" + (months > 1 ? "s" : "");
}

// Whole years plus the months left over, for spans of three years and more. Starting from
// years - 1 keeps the month remainder positive when the later month is earlier in its year.
void splitYears(long long years, long long months, long long& y, long long& m) {
    y = years - 1;
    m = months - 12 * y;
    if (m >= 12) {
        y += m / 12;
        m %= 12;
    }
}

} // namespace

std::string relativeDateText(DateSerial d, const Clock& clock) {
    const DateSerial now = clock.now();
    const long long dayOfD = wholeDays(d);
    const long long today = wholeDays(now);
    const bool future = dayOfD > today;
    const long long days = future ? dayOfD - today : today - dayOfD;

    if (days == 0)
        return "Today";
    if (days == 1)
        return future ? "Tomorrow" : "Yesterday";

    const CivilDate cd = decodeDate(d);
    const CivilDate cn = decodeDate(now);

    // Weeks are counted from the Sunday of the earlier date's week: calendar weeks, not
    // spans of seven days.
    if (future) {
        const long long weeks = (days + dayOfWeek(now) - 1) / 7;
        const long long months = monthIndex(cd) - monthIndex(cn);
        const long long years = static_cast<long long>(cd.year) - cn.year;
        if (weeks < 6)
            return std::to_string(days) + " days";
        if (months < 3)
            return std::to_string(weeks) + " wks";
        if (years <= 2)
            return monthsText(months);
        long long y = 0;
        long long m = 0;
        splitYears(years, months, y, m);
        std::string text = std::to_string(y) + " yrs";
        if (m > 0)
            text += " " + monthsText(m);
        return text;
    }

    const long long weeks = (days + dayOfWeek(d) - 1) / 7;
    const long long months = monthIndex(cn) - monthIndex(cd);
    const long long years = static_cast<long long>(cn.year) - cd.year;
    // The past keeps counting days one week longer than the future does.
    if (weeks <= 6)
        return std::to_string(days) + " days ago";
    if (months < 3)
        return std::to_string(weeks) + " wks ago";
    if (years <= 2)
        return monthsText(months) + " ago";
    long long y = 0;
    long long m = 0;
    splitYears(years, months, y, m);
    std::string text = std::to_string(y) + " yrs ";
    if (m > 0)
        text += monthsText(m) + " ";
    return text + "ago";
}

} // namespace dw
