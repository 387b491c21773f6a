#pragma once

#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <string>

namespace dw {

// The line under the reschedule dialog's date: the date's full weekday name, " : " and
// how far it lies from today ("Tuesday : Tomorrow", "Saturday : 5 days").
std::string rescheduleDateText(DateSerial date, const FormatSettings& fs, const Clock& clock);

} // namespace dw
