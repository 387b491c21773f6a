#pragma once

#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <string>
#include <string_view>

namespace dw {

// Formats a date and time by one of the program's display patterns:
//   c        short date, then the long time when the time is not midnight
//   d dd     day of month;  ddd dddd  short / long weekday name
//   ddddd    the locale's short date;  dddddd  the locale's long date
//   m mm     month, or minutes right after an h/hh;  mmm mmmm  short / long month name
//   yy yyyy  year;  h hh  hour;  n nn  minutes;  s ss  seconds;  z zzz  milliseconds
//   t        the locale's short time;  tt  the locale's long time
//   am/pm a/p ampm   12-hour clock markers (and h then counts 1 to 12, wherever in the
//                    pattern the marker stands); am/pm and a/p keep the case written
//   /  the date separator;  :  the time separator;  "text" or 'text'  literal text
// Letters are not case sensitive. Anything else is copied as it is.
std::string formatDateTime(std::string_view pattern, DateSerial s, const FormatSettings& fs);

// Formats by a locale pattern in the Windows style (see FormatSettings). "y" is the year of
// the century without a leading zero; "t" is the first character of the designator. Any
// character that is no token, "/" and ":" included, stands for itself.
std::string formatLocalePattern(std::string_view pattern, DateSerial s, const FormatSettings& fs);

} // namespace dw
