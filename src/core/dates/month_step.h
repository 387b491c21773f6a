#pragma once

#include "core/dates/date_serial.h"

namespace dw {

// A date moved by whole months or years, its day clamped to the target month's length
// (31 January + 1 month = 28 or 29 February; 29 February + 1 year = 28 February). The
// time of day is kept.
DateSerial addMonthsClamped(DateSerial d, int months);
inline DateSerial nextMonth(DateSerial d) {
    return addMonthsClamped(d, 1);
}
inline DateSerial priorMonth(DateSerial d) {
    return addMonthsClamped(d, -1);
}
inline DateSerial nextYear(DateSerial d) {
    return addMonthsClamped(d, 12);
}
inline DateSerial priorYear(DateSerial d) {
    return addMonthsClamped(d, -12);
}

} // namespace dw
