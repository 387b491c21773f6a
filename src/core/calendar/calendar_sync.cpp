#include "core/calendar/calendar_sync.h"

#include "core/dates/month_step.h"

#include <cstddef>

namespace dw {

std::array<DateSerial, 4> synchronisedMonths(int active, DateSerial activeDate) {
    std::array<DateSerial, 4> d{};
    if (active < 0 || active > 3)
        active = 1;
    d[static_cast<std::size_t>(active)] = activeDate;
    // Outward from the active calendar, each step from the neighbour's clamped date.
    for (int i = active + 1; i < 4; ++i)
        d[static_cast<std::size_t>(i)] = nextMonth(d[static_cast<std::size_t>(i - 1)]);
    for (int i = active - 1; i >= 0; --i)
        d[static_cast<std::size_t>(i)] = priorMonth(d[static_cast<std::size_t>(i + 1)]);
    return d;
}

CalendarSizing calendarSizing(int split1, int split2, int navigatorHeight, int calFontSize) {
    CalendarSizing s;
    s.width = (split1 - 1) / 2;
    s.height = (split2 - navigatorHeight - 5) / 2;
    s.navigatorVisible = s.height > 90;
    if (!s.navigatorVisible)
        s.height = (split2 - 5) / 2;
    s.headersAndBevels = s.height > 106;
    s.captionsShown = s.height > 50;
    if (s.height < 50) {
        s.cellFontSize = 4;
    } else if (s.height < 75) {
        s.cellFontSize = 6;
    } else {
        s.cellFontSize = calFontSize;
        s.captionsRaised = true;
    }
    return s;
}

} // namespace dw
