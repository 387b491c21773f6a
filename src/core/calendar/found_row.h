#pragma once

namespace dw {

class TaskStore;

// After Find has landed on a date: the day view row that shows the dated store's row
// `foundRow` (the first row, from the top, that passes the filter and has the same Time,
// Category and What; with `lastMatch` the last such row, for an upward search), or -1 when
// none does or foundRow is out of range.
int foundDayRow(const TaskStore& store, int foundRow, bool lastMatch = false);

} // namespace dw
