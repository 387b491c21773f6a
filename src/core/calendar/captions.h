#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/settings/options.h"

#include <string>

namespace dw {

// The to-do caption: "To-do Tasks" with no task or one, else "%d To-do Tasks".
// `rows` counts the table's rows, header included.
std::string todoCaptionText(int rows);

struct DateCaption {
    std::string text;
    WinColor color = 0;
};

// The date caption over the day view. A holiday names itself in red; otherwise a count
// prefix ("3 tasks ") when the day view shows two tasks or more, the date as "ddd ddddd",
// in blue with shadows or navy without. Both end with two spaces and the relative date.
// `dayRows` counts the day view's rows, header included.
DateCaption dateCaptionFor(DateSerial date, const std::string& holiday, int dayRows, bool shadows,
                           const FormatSettings& fs, const Clock& clock);

} // namespace dw
