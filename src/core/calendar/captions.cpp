#include "core/calendar/captions.h"

#include "core/calendar/relative_date.h"
#include "core/dates/date_format.h"

namespace dw {

std::string todoCaptionText(int rows) {
    if (rows < 3)
        return "To-do Tasks";
    return std::to_string(rows - 1) + " To-do Tasks";
}

DateCaption dateCaptionFor(DateSerial date, const std::string& holiday, int dayRows, bool shadows,
                           const FormatSettings& fs, const Clock& clock) {
    const std::string relative = relativeDateText(date, clock);
    if (!holiday.empty())
        return {holiday + "  " + relative, 0x000000FF};
    std::string prefix;
    if (dayRows >= 3)
        prefix = std::to_string(dayRows - 1) + " tasks ";
    return {prefix + formatDateTime("ddd ddddd", date, fs) + "  " + relative,
            shadows ? 0x00FF0000u : 0x00800000u};
}

} // namespace dw
