#pragma once

#include "core/dates/date_serial.h"

#include <array>

namespace dw {

// The four month calendars show four consecutive months, anchored on the active one
// (index 0 to 3), whose date is kept. Each other calendar takes its neighbour's date moved
// by one month, clamped, so a clamp carries on: with the first calendar on 31 January of a
// leap year the others show 29 February, 29 March and 29 April.
std::array<DateSerial, 4> synchronisedMonths(int active, DateSerial activeDate);

// How the calendar pane is divided at given splitter positions.
struct CalendarSizing {
    int width = 0;  // each calendar's width; the right ones stand at width - 1
    int height = 0; // each calendar's height; the lower ones stand at height - 1
    bool navigatorVisible = false;
    bool headersAndBevels = false; // weekday header rows and cell bevels
    bool captionsShown = false;    // month and year captions
    bool captionsRaised = false;
    int cellFontSize = 0; // 0: keep the size the calendars have
};

// split1: the vertical splitter's position; split2: the horizontal one's; calFontSize: the
// calendar font's size from the options (0 when there are no options yet).
CalendarSizing calendarSizing(int split1, int split2, int navigatorHeight, int calFontSize);

} // namespace dw
