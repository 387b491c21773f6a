#pragma once

#include "core/dates/format_settings.h"

#include <optional>
#include <string_view>

namespace dw {

// Reads a time of day the way the platform reads one: hours, then optional minutes and
// seconds after the time separator, then an optional AM/PM marker (the locale's or the
// English one, letter case ignored; before or after the numbers). With a marker the hour
// must be 1 to 12 (12 AM is midnight); without one, 0 to 23. Blanks may stand around every
// part. Answers the fraction of a day, or nothing when the text is not a time.
std::optional<double> parseTimeText(std::string_view text, const FormatSettings& fs);

// Reads a time as people type it into a time field: "930", "0930", "9:30", "9.30", "21:30",
// "9" (hours, then two digits of minutes, with or without a separator), each optionally
// followed by AM or PM, of which any start will do: "9:30p", "9.30 pm", "11:45 P" and
// "9 a.m." (the locale's markers and the English ones, letter case and full stops
// ignored). With a marker the hour is 1 to 12, without one 0 to 23. The locale's own time
// texts read as well. Answers the fraction of a day, or nothing when the text is no time.
std::optional<double> parseTypedTime(std::string_view text, const FormatSettings& fs);

// Reads a date written in the order of the locale's short date pattern (day, month and
// year numbers split by the date separator; a missing year is the current one; a two-digit
// year lands within 50 years of the current one). Besides the locale's separator, '/', '-'
// and '.' are understood, one kind per date; a separator may also end the text ("15.3.").
// Answers the whole-day serial, or nothing when the text is not a valid date.
std::optional<int> parseShortDateText(std::string_view text, const FormatSettings& fs,
                                      int currentYear);

// The process-wide format adjustment made at first show: four-digit years and numeric
// months in the short date, no seconds in the long time.
void fix2000(FormatSettings& fs);

} // namespace dw
