#pragma once

#include "core/dates/clock.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/settings/options.h"
#include "core/store/cell_table.h"
#include "core/store/task_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dw {

// The rules of the main window's task commands (add, edit, mark as completed, delete,
// toggle alarm, the notes pane and drag and drop) that need no window.

// The two task panes: the day view (time, category, what, done, alarm) and the to-do list
// (category, what, done).
enum class TaskPane { Day, Todo };

// The controls a command can come from. The menu, key and calendar routes pass the
// toolbar button of their pane.
enum class CommandSource {
    dayToolbarAdd,     // day toolbar "Add new task"
    dayMenuAdd,        // day context menu "Add"
    todoToolbarAdd,    // to-do toolbar "Add new"
    todoMenuAdd,       // to-do context menu "Add"
    dayToolbarEdit,    // day toolbar "Edit task"
    dayMenuEdit,       // day context menu "Edit"
    todoToolbarEdit,   // to-do toolbar "Edit task"
    todoMenuEdit,      // to-do context menu "Edit"
    dayToolbarDone,    // day toolbar "Mark as completed"
    dayMenuDone,       // day context menu "Mark as completed"
    todoToolbarDone,   // to-do toolbar "Mark as completed"
    todoMenuDone,      // to-do context menu "Mark as completed"
    dayToolbarDelete,  // day toolbar "Delete task"
    dayMenuDelete,     // day context menu "Delete"
    todoToolbarDelete, // to-do toolbar "Delete"
    todoMenuDelete,    // to-do context menu "Delete"
    dayDoubleClick,
    todoDoubleClick,
};

inline constexpr const char* kNothingToEdit = "There is nothing to edit";
inline constexpr const char* kAlreadyComplete = "Task already marked as complete";
inline constexpr const char* kNothingToDelete = "There is nothing selected to delete";
inline constexpr const char* kMoveToDayQuestion = "Really move task?";
inline constexpr const char* kTodoAddOrigin = "To-do task";
inline constexpr const char* kTodoExistingOrigin = "Non date task";
inline constexpr const char* kTodoAddTitle = "To-do task";
// The title of a new task on a date before today is red (0x00BBGGRR).
inline constexpr std::uint32_t kPastTitleColor = 0x000000FF;

// Add: the day view for its own toolbar button and context item, else the to-do list.
TaskPane addPane(CommandSource source);
// Delete: the same rule with the delete controls.
TaskPane deletePane(CommandSource source);
// Edit and Mark as completed first focus the pane their control belongs to; other
// sources (double clicks) leave the focus where it is.
std::optional<TaskPane> focusPaneOf(CommandSource source);
// The pane Edit and Mark as completed act on: the to-do list when it has the focus; else
// the day view when it has the focus or the command is the day's Edit; else the to-do list.
TaskPane editPane(std::optional<TaskPane> focused, CommandSource source);

// The date as captions show it: the short weekday name and the short date ("ddd ddddd").
std::string originDateText(int date, const FormatSettings& fs);
// The editor's title for a task of the day view: "ddd ddddd", a space and how far the
// date lies from today ("Tomorrow").
std::string dayTitle(int date, const FormatSettings& fs, const Clock& clock);

struct EditorTitle {
    std::string text;
    bool past = false; // shown in red
};
// The title for a new task of the day view: "PAST " before it when the date is before
// today. Editing never shows the prefix (dayTitle).
EditorTitle addDayTitle(int date, const FormatSettings& fs, const Clock& clock);

// What a completion records as the task's origin: the date for a day task, "To-do task"
// for a to-do task completed while it is being added, "Non date task" for one that exists.
std::string originText(TaskPane pane, bool adding, int date, const FormatSettings& fs);

// "Really delete " + '"' + the first 50 characters of the text + " ... " + '"' + "?".
std::string deleteQuestion(std::string_view what);
// The question of a move between the panes; a day task loses its time and alarm.
std::string paneMoveQuestion(TaskPane source);

// Whether a row holds a task: a day row has a time (every command that writes a day row
// fills it); a to-do row has a category or a text (a to-do task may lack a category).
bool isPaneRowOccupied(const CellTable& table, TaskPane pane, int row);
// The first data row that holds no task, appending one when every row holds one.
int freePaneRow(CellTable& table, TaskPane pane);

// The time of day as a time cell shows it (the locale's short time, pattern "t").
std::string timeCellText(double time, const FormatSettings& fs);

// One task's values as a pane row holds them; to-do rows hold no time and no alarm.
void writeDayRow(CellTable& day, int row, const DatedTask& task);
void writeTodoRow(CellTable& todo, int row, const DatedTask& task);
void writePaneRow(CellTable& table, TaskPane pane, int row, const DatedTask& task);
// A pane row's values; a to-do row takes `nowTime` as its time and no alarm.
DatedTask taskOfRow(const CellTable& table, TaskPane pane, int row, const std::string& nowTime);

// The row a drop lands on: the data row under the pointer, or none over the header row
// or below the last row (rowUnderPointer is the table row there, -1 for none).
std::optional<int> dropRow(int rowUnderPointer, int rowCount);

// Reordering within a pane: the row moves to `to` and the rows between shift by one.
// Answers whether anything moved.
bool moveRowWithin(CellTable& table, int from, int to);

// A move between the panes: a new row at `to` in the target takes the task (the day view
// gives the current time and no alarm to a to-do task; the to-do list loses time and
// alarm), then the row leaves the source. Answers whether anything moved (the source row
// held a task and `to` is a data row of the target). An empty target pane's blank row takes
// the task.
bool moveBetweenPanes(CellTable& source, TaskPane sourcePane, int from, CellTable& target, int to,
                      const std::string& nowTime);

// Toggle alarm: "Yes" becomes "No", anything else "Yes". An empty row stays as it is;
// answers whether the row changed.
bool toggleAlarm(CellTable& day, int row);

// Done rows are struck out when their done cell contains "Yes".
bool isStruckOutDone(std::string_view done);

// The notes pane shows a task's text with its line breaks (LF between lines), so that an
// edit changes only what was edited.
std::string notesPaneText(std::string_view what);
// The notes pane's ground: a pale cream under a task not yet done, the button face under a
// done one.
inline constexpr WinColor kNotesNotDoneColor = 0x00C9FCF8;
inline constexpr WinColor kNotesDoneColor = 0x8000000F;
WinColor notesPaneColor(bool done);
std::string notesPaneWriteBack(std::string_view paneText);

} // namespace dw
