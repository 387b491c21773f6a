#include "core/calendar/hover_summary.h"

#include "core/store/helpers.h"
#include "core/store/task_store.h"

#include <cstdlib>

namespace dw {

std::vector<std::string> hoverSummaryLines(const TaskStore& store, int date) {
    std::vector<std::string> pending;
    std::vector<std::string> completed;
    const CellTable& s = store.gridStore();
    store.forEachVisibleRow(date, [&](int r) {
        std::string line = s.cell(StoreCol::Time, r) + "\t" + firstLine(s.cell(StoreCol::What, r));
        (isYes(s.cell(StoreCol::Done, r)) ? completed : pending).push_back(std::move(line));
    });
    std::vector<std::string> lines;
    if (!pending.empty()) {
        lines.push_back(std::to_string(pending.size()) + "\t Pending tasks");
        lines.emplace_back();
        lines.insert(lines.end(), pending.begin(), pending.end());
    }
    if (!completed.empty()) {
        if (!pending.empty())
            lines.emplace_back();
        lines.push_back(std::to_string(completed.size()) + "\t Completed tasks");
        lines.emplace_back();
        lines.insert(lines.end(), completed.begin(), completed.end());
    }
    return lines;
}

bool HoverTracker::mouseMoved(int calendar, int cell, int x, int y, bool summaryVisible) {
    calendar_ = calendar;
    // A quick sweep over the calendar takes the summary away.
    bool hide = std::abs(x - lastX_) > kMoveTolerance || std::abs(y - lastY_) > kMoveTolerance;
    lastX_ = x;
    lastY_ = y;
    if (cell == cell_)
        return hide;
    cell_ = cell;
    if (summaryVisible && !hide) {
        countdown_ = kNextDelay;
    } else {
        countdown_ = kFirstDelay;
        hide = true;
    }
    return hide;
}

bool HoverTracker::tick(bool alarmBusy) {
    if (alarmBusy)
        return false;
    // Past 0 the countdown has no further effect; it rests below 0 until the next cell.
    if (countdown_ >= 0)
        --countdown_;
    return countdown_ == 0;
}

} // namespace dw
