#pragma once

#include "core/dates/date_serial.h"

namespace dw {

class TaskStore;

// Which task colourings are on: a date counts as highlighted when one of its tasks that
// pass the filter is done while done dates are coloured, or not done while not-done dates
// are. Holidays never count; with both colourings off no date is highlighted.
struct HighlightChoice {
    bool colorDone = true;
    bool colorNotDone = true;
};

// Next highlighted task: the nearest highlighted date later than `from` (which may carry a
// time of day), or `from` unchanged when there is none.
DateSerial goForward(const TaskStore& store, DateSerial from, HighlightChoice choice);
// Prior highlighted task: the nearest highlighted date earlier than the whole day of
// `from`, or `from` unchanged when there is none.
DateSerial goBack(const TaskStore& store, DateSerial from, HighlightChoice choice);

} // namespace dw
