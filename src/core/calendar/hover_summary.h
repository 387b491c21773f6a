#pragma once

#include <string>
#include <vector>

namespace dw {

class TaskStore;

// The summary's task lines for a date (whole days), from the date's tasks that pass the
// filter in store order: "<n>\t Pending tasks", an empty line and "<time>\t<first line>" for
// each task not done; then (after an empty line when there were pending ones)
// "<n>\t Completed tasks", an empty line and the done tasks. Nothing for a date without
// tasks. A task counts as done only when its Done cell is exactly "Yes", in the count and
// in the list alike.
std::vector<std::string> hoverSummaryLines(const TaskStore& store, int date);

// Where the pointer rests over the calendars and how long until the summary comes up. The
// summary is filled on the trigger tick that brings the countdown to exactly 0: 10 ticks
// after the pointer reaches a new day, 2 when it moves on while a summary is showing.
class HoverTracker {
public:
    static constexpr int kMoveTolerance = 6; // pixels between two reports
    static constexpr int kFirstDelay = 10;   // ticks
    static constexpr int kNextDelay = 2;

    // The pointer moved to (x, y) over a calendar, over cell 1..42 (or -1 outside the
    // cells). Answers whether a showing summary is to be hidden.
    bool mouseMoved(int calendar, int cell, int x, int y, bool summaryVisible);
    // One tick of the trigger while the summary is switched on. Answers true on the tick
    // the summary is to be filled; a busy alarm holds the countdown.
    bool tick(bool alarmBusy);

    int calendar() const { return calendar_; }
    int cell() const { return cell_; }
    int countdown() const { return countdown_; }

private:
    int calendar_ = -1;
    int cell_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
    int countdown_ = 0;
};

} // namespace dw
