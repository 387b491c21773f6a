#include "core/dates/month_step.h"

#include <algorithm>

namespace dw {

DateSerial addMonthsClamped(DateSerial d, int months) {
    const CivilDate c = decodeDate(d);
    const int index = c.year * 12 + (c.month - 1) + months;
    const int year = index >= 0 ? index / 12 : (index - 11) / 12;
    const int month = index - year * 12 + 1;
    if (year < 1 || year > 9999)
        return d; // the calendar ends here: stay put rather than leave it
    const int day = std::min(c.day, daysInMonth(month, year));
    const int serial = dateSerialOf(year, month, day);
    const double t = dayFraction(d);
    return serial >= 0 ? serial + t : serial - t;
}

} // namespace dw
