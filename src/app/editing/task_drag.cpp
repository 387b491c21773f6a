#include "app/editing/task_drag.h"

#include "app/editing/day_notes.h"
#include "app/editing/task_commands.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/widgets/cell_grid.h"
#include "core/store/helpers.h"

#include <QMimeData>

namespace dw {

TaskDrag::TaskDrag(CellGrid& gridDay, CellGrid& gridNonday, SelectedDay selected, AppState& state,
                   TaskCommands& commands)
    : gridDay_(gridDay), gridNonday_(gridNonday), selected_(selected), state_(state),
      commands_(commands) {}

std::optional<TaskPane> TaskDrag::draggedPane(const QMimeData* data) const {
    if (!data || !data->hasFormat(kRowDragMimeType))
        return std::nullopt;
    const QString name = QString::fromUtf8(data->data(kRowDragMimeType));
    if (name == gridDay_.objectName())
        return TaskPane::Day;
    if (name == gridNonday_.objectName())
        return TaskPane::Todo;
    return std::nullopt;
}

void TaskDrag::gridDayDragDrop(const QMimeData* data, TaskPane target, int rowUnderPointer) {
    if (const std::optional<TaskPane> source = draggedPane(data))
        gridDayDragDrop(*source, target, rowUnderPointer);
}

void TaskDrag::gridDayDragDrop(TaskPane source, TaskPane target, int rowUnderPointer) {
    commands_.writeBackNotesPane();
    CellGrid* from = commands_.grid(source);
    CellGrid* to = commands_.grid(target);
    const int selected = from->selectedRow();
    const std::optional<int> at = dropRow(rowUnderPointer, to->table().rowCount());
    if (!at)
        return; // the header row, or below the last row
    if (source != target) {
        if (!isPaneRowOccupied(from->table(), source, selected))
            return;
        if (state_.options().dragConfirm &&
            !state_.prompts().askYesNo(paneMoveQuestion(source), "Confirm"))
            return;
        const std::string now = timeCellText(state_.clock().now(), state_.fs());
        if (!moveBetweenPanes(from->table(), source, selected, to->table(), *at, now))
            return;
    } else if (!moveRowWithin(to->table(), selected, *at)) {
        return;
    }
    // Every change reaches its file at once; a move between the files writes the
    // destination first, so a crash in between leaves the task twice rather than nowhere.
    // The stored order of a day is the view's order, so a reordering persists.
    const int shown = selected_.date();
    commands_.saveChangedPane(target, shown);
    if (source != target)
        commands_.saveChangedPane(source, shown);
    commands_.panesChanged();
    to->selectTableRow(*at);
    to->setFocus();
    commands_.notes().fill();
}

void TaskDrag::onCalendarDrop(int calendarIndex, int date, const QMimeData* data) {
    const std::optional<TaskPane> source = draggedPane(data);
    if (!source)
        return;
    commands_.writeBackNotesPane();
    CellGrid* from = commands_.grid(*source);
    const int row = from->selectedRow();
    if (!isPaneRowOccupied(from->table(), *source, row))
        return;
    if (state_.options().dragConfirm && !state_.prompts().askYesNo(kMoveToDayQuestion, "Confirm"))
        return;
    const DatedTask task =
        taskOfRow(from->table(), *source, row, timeCellText(state_.clock().now(), state_.fs()));
    const int shown = selected_.date();
    if (*source == TaskPane::Day && date == shown) {
        // Onto its own date: the task goes first in the day, as a task put straight into
        // the store does, in one write.
        moveRowWithin(from->table(), row, 1);
        showErrors(state_.prompts(), state_.store().writeToStore(shown));
    } else if (*source == TaskPane::Day) {
        // The new date first, then the day it leaves: no moment on disk is without it.
        showErrors(state_.prompts(), state_.store().insertTask(date, task));
        commands_.deleteEntry(TaskPane::Day, true, shown);
    } else {
        // The to-do task reaches grid.grd before gridNon.grd loses it.
        takeRowOut(from->table(), row);
        showErrors(state_.prompts(), state_.store().insertTask(date, task));
        showErrors(state_.prompts(), state_.store().saveTodoFile());
    }
    commands_.showDroppedDate(calendarIndex, date);
    // Dropped on the date already shown, nothing reloads by itself: the views are told, so
    // that a later write-back of the day view cannot drop the task from the store.
    state_.storeEvents().publish(StoreChange::onDates({date}, *source == TaskPane::Todo));
}

} // namespace dw
