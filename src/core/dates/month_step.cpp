#include "core/dates/month_step.h"

#include "core/dates/chrono_days.h"

namespace dw {

namespace chr = std::chrono;

DateSerial addMonthsClamped(DateSerial d, int months) {
    const CivilDate c = decodeDate(d);
    // Stepped within the date's 400-year cycle, which chrono's year can hold; the whole
    // cycles are put back after.
    const int cycleStart = c.year - c.year % kYearsPerCycle;
    const chr::year_month_day moved = clampToMonth(
        chr::year_month_day{cycleYear(c.year), chr::month(static_cast<unsigned>(c.month)),
                            chr::day(static_cast<unsigned>(c.day))} +
        chr::months{months});
    const int year = cycleStart + static_cast<int>(moved.year());
    if (year < 1 || year > 9999)
        return d; // the calendar ends here: stay put rather than leave it
    const int serial = dateSerialOf(year, static_cast<int>(static_cast<unsigned>(moved.month())),
                                    static_cast<int>(static_cast<unsigned>(moved.day())));
    const double t = dayFraction(d);
    return serial >= 0 ? serial + t : serial - t;
}

} // namespace dw
