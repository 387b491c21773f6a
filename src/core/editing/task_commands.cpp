#include "core/editing/task_commands.h"

#include "core/calendar/relative_date.h"
#include "core/dates/date_format.h"
#include "core/editing/task_edit.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"

#include <algorithm>

namespace dw {

TaskPane addPane(CommandSource source) {
    return source == CommandSource::dayToolbarAdd || source == CommandSource::dayMenuAdd
               ? TaskPane::Day
               : TaskPane::Todo;
}

TaskPane deletePane(CommandSource source) {
    return source == CommandSource::dayToolbarDelete || source == CommandSource::dayMenuDelete
               ? TaskPane::Day
               : TaskPane::Todo;
}

std::optional<TaskPane> focusPaneOf(CommandSource source) {
    switch (source) {
    case CommandSource::dayToolbarEdit:
    case CommandSource::dayToolbarDone:
    case CommandSource::dayMenuDone:
        return TaskPane::Day;
    case CommandSource::todoToolbarEdit:
    case CommandSource::todoToolbarDone:
    case CommandSource::todoMenuDone:
        return TaskPane::Todo;
    default:
        return std::nullopt;
    }
}

TaskPane editPane(std::optional<TaskPane> focused, CommandSource source) {
    if (focused == TaskPane::Todo)
        return TaskPane::Todo;
    if (focused == TaskPane::Day || source == CommandSource::dayToolbarEdit ||
        source == CommandSource::dayMenuEdit)
        return TaskPane::Day;
    return TaskPane::Todo;
}

std::string originDateText(int date, const FormatSettings& fs) {
    return formatDateTime("ddd ddddd", date, fs);
}

std::string dayTitle(int date, const FormatSettings& fs, const Clock& clock) {
    return originDateText(date, fs) + " " + relativeDateText(date, clock);
}

EditorTitle addDayTitle(int date, const FormatSettings& fs, const Clock& clock) {
    EditorTitle t{dayTitle(date, fs, clock), date < wholeDays(clock.now())};
    if (t.past)
        t.text = "PAST " + t.text;
    return t;
}

std::string originText(TaskPane pane, bool adding, int date, const FormatSettings& fs) {
    if (pane == TaskPane::Day)
        return originDateText(date, fs);
    return adding ? kTodoAddOrigin : kTodoExistingOrigin;
}

std::string deleteQuestion(std::string_view what) {
    return "Really delete \"" + truncateChars(what, 50) + " ... \"?";
}

std::string paneMoveQuestion(TaskPane source) {
    if (source == TaskPane::Day)
        return "Really move task between grids?  You will lose the Time and Alarm fields.";
    return "Really move task between grids?";
}

bool isPaneRowOccupied(const CellTable& table, TaskPane pane, int row) {
    if (row < 1 || row >= table.rowCount())
        return false;
    if (pane == TaskPane::Todo)
        return isTodoRowOccupied(table, row);
    return !table.cell(DayCol::Time, row).empty();
}

int freePaneRow(CellTable& table, TaskPane pane) {
    return pane == TaskPane::Todo ? firstFreeTodoRow(table) : firstFreeRow(table);
}

std::string timeCellText(double time, const FormatSettings& fs) {
    return formatDateTime("t", dayFraction(time), fs);
}

void writeDayRow(CellTable& day, int row, const DatedTask& task) {
    writeTaskCells(day, row, DayCol::Time, task);
}

void writeTodoRow(CellTable& todo, int row, const DatedTask& task) {
    todo.setCell(TodoCol::Category, row, task.category);
    todo.setCell(TodoCol::What, row, task.what);
    todo.setCell(TodoCol::Done, row, yesNo(task.done));
}

void writePaneRow(CellTable& table, TaskPane pane, int row, const DatedTask& task) {
    if (pane == TaskPane::Day)
        writeDayRow(table, row, task);
    else
        writeTodoRow(table, row, task);
}

DatedTask taskOfRow(const CellTable& table, TaskPane pane, int row, const std::string& nowTime) {
    DatedTask t;
    if (pane == TaskPane::Day) {
        t.time = table.cell(DayCol::Time, row);
        t.category = table.cell(DayCol::Category, row);
        t.what = table.cell(DayCol::What, row);
        t.done = isYes(table.cell(DayCol::Done, row));
        t.alarm = isYes(table.cell(DayCol::Alarm, row));
    } else {
        t.time = nowTime;
        t.category = table.cell(TodoCol::Category, row);
        t.what = table.cell(TodoCol::What, row);
        t.done = isYes(table.cell(TodoCol::Done, row));
        t.alarm = false;
    }
    return t;
}

std::optional<int> dropRow(int rowUnderPointer, int rowCount) {
    if (rowUnderPointer < 1 || rowUnderPointer >= rowCount)
        return std::nullopt;
    return rowUnderPointer;
}

bool moveRowWithin(CellTable& table, int from, int to) {
    const int rows = table.rowCount();
    if (from == to || from < 1 || to < 1 || from >= rows || to >= rows)
        return false;
    CellTable::Row moving = std::move(table.row(from));
    if (from < to) {
        for (int r = from; r < to; ++r)
            table.row(r) = std::move(table.row(r + 1));
    } else {
        for (int r = from; r > to; --r)
            table.row(r) = std::move(table.row(r - 1));
    }
    table.row(to) = std::move(moving);
    return true;
}

bool moveBetweenPanes(CellTable& source, TaskPane sourcePane, int from, CellTable& target, int to,
                      const std::string& nowTime) {
    if (!isPaneRowOccupied(source, sourcePane, from) || !dropRow(to, target.rowCount()))
        return false;
    const DatedTask task = taskOfRow(source, sourcePane, from, nowTime);
    const TaskPane targetPane = sourcePane == TaskPane::Day ? TaskPane::Todo : TaskPane::Day;
    // An empty pane is one blank row: the task takes it, rather than leaving a blank row
    // under it that would count as a task and reach the file.
    if (target.rowCount() == 2 && !isPaneRowOccupied(target, targetPane, 1))
        to = 1;
    else
        target.insertRows(to, 1);
    writePaneRow(target, targetPane, to, task);
    takeRowOut(source, from);
    return true;
}

bool toggleAlarm(CellTable& day, int row) {
    if (!isPaneRowOccupied(day, TaskPane::Day, row))
        return false;
    day.setCell(DayCol::Alarm, row, yesNo(!isYes(day.cell(DayCol::Alarm, row))));
    return true;
}

bool isStruckOutDone(std::string_view done) {
    return done.find("Yes") != std::string_view::npos;
}

std::string notesPaneText(std::string_view what) {
    // The pane shows the task's lines as they are; it ends lines with LF.
    std::string shown;
    shown.reserve(what.size());
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (what[i] == '\r' && i + 1 < what.size() && what[i + 1] == '\n')
            continue;
        shown += what[i];
    }
    return shown;
}

WinColor notesPaneColor(bool done) {
    return done ? kNotesDoneColor : kNotesNotDoneColor;
}

std::string notesPaneWriteBack(std::string_view paneText) {
    return memoText(paneText);
}

} // namespace dw
