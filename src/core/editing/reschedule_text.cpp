#include "core/editing/reschedule_text.h"

#include "core/calendar/relative_date.h"
#include "core/dates/date_format.h"

namespace dw {

std::string rescheduleDateText(DateSerial date, const FormatSettings& fs, const Clock& clock) {
    return formatDateTime("dddd", date, fs) + " : " + relativeDateText(date, clock);
}

} // namespace dw
