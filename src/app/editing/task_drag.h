#pragma once

#include "app/calendar/selected_day.h"
#include "core/editing/task_commands.h"

#include <QObject>
#include <optional>

class QMimeData;

namespace dw {

class AppState;
class CellGrid;
class TaskCommands;

// Drag and drop of tasks: a row of either pane dropped on the other pane, on another row
// of its own pane (reordering) or on a day of any calendar (moving it to that date).
class TaskDrag : public QObject {
    Q_OBJECT
public:
    TaskDrag(CellGrid& gridDay, CellGrid& gridNonday, SelectedDay selected, AppState& state,
             TaskCommands& commands);

    // The pane a drag carries, or none when the dragged object is no pane.
    std::optional<TaskPane> draggedPane(const QMimeData* data) const;

    // A drop on a pane: `target` is the pane dropped on, `rowUnderPointer` its table row
    // under the pointer (-1 when none).
    void gridDayDragDrop(const QMimeData* data, TaskPane target, int rowUnderPointer);
    void gridDayDragDrop(TaskPane source, TaskPane target, int rowUnderPointer);
    // A drop on day `date` of calendar `calendarIndex` (0..3).
    void onCalendarDrop(int calendarIndex, int date, const QMimeData* data);

private:
    CellGrid& gridDay_;
    CellGrid& gridNonday_;
    SelectedDay selected_;
    AppState& state_;
    TaskCommands& commands_;
};

} // namespace dw
