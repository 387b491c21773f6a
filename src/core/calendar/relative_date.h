#pragma once

#include "core/dates/clock.h"
#include "core/dates/date_serial.h"

#include <string>

namespace dw {

// How far d lies from today, in words: "Today", "Tomorrow", "Yesterday", "5 days",
// "7 wks ago", "3 mons", "4 yrs 2 mons", ... Only whole days count, of d and of
// clock.now(). The text is only good for the day it was made on, so callers rebuild
// captions rather than keep them.
std::string relativeDateText(DateSerial d, const Clock& clock);

} // namespace dw
