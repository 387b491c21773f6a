#pragma once

#include "app/editing/task_editor.h"
#include "core/editing/task_commands.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QMimeData;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class DayNotes;
class MainActions;
class ShadowLabel;
class TaskDrag;
struct WindowState;

// What the task commands work on: the main window (its focus; the dialogs' parent), its
// actions, the two panes, the date caption (the editor's title takes its look), the month
// calendars, the notes pane's text and the window's option copies.
struct TaskViews {
    QWidget* window = nullptr;
    const MainActions* actions = nullptr;
    CellGrid* gridDay = nullptr;
    CellGrid* gridNonday = nullptr;
    const ShadowLabel* dateCaption = nullptr;
    CalendarPane* calendars = nullptr;
    DayNotes* notes = nullptr;
    const WindowState* windowState = nullptr;
};

// What the task commands need of the month calendars. Until the calendars are wired the
// selected date stands in for them.
struct CalendarHooks {
    // Repaint the active calendar only (after an edit, a completion, a delete, a move).
    std::function<void()> repaintActive;
    // A task was dropped on day `date` of calendar `index`: that calendar shows the date and
    // becomes the active one, which reloads the day view when the date changes.
    std::function<void(int index, int date)> showDroppedDate;
};

// The task commands of the main window: add, edit, mark as completed, delete and toggle
// alarm on the day view and the to-do list, from their toolbar buttons, context menus,
// Edit menu items and double clicks; the notes pane's write-back; the done-row strike-out;
// the "Categories" command. The rules live in core/editing/task_commands.h; this class
// only asks, opens the editor and puts the result where it belongs.
class TaskCommands : public QObject {
    Q_OBJECT
public:
    TaskCommands(const TaskViews& views, AppState& state);
    ~TaskCommands() override;

    void addTask(CommandSource source);
    void editTask(CommandSource source);
    void markAsCompleted(CommandSource source);
    void editOrComplete(CommandSource source, bool edit);
    void deleteTask(CommandSource source);
    // Removes the pane's selected row; with writeBack the day is written back for `date`
    // and the active calendar repainted.
    void deleteEntry(TaskPane pane, bool writeBack, int date);
    void toggleAlarm();
    // A double click on a day of the first calendar, once the day is the selected date.
    void addOrEditOnDate(int date);
    // The notes pane's edit becomes the selected day row's text (day_notes.h).
    void writeBackNotesPane();
    void editCategories();

    CellGrid* grid(TaskPane pane) const;
    // The pane that has the focus in the window, if any.
    std::optional<TaskPane> focusedPane() const;
    TaskDrag& drag() { return *drag_; }
    DayNotes& notes() const { return *views_.notes; }

    // The calendars' side; see CalendarHooks.
    void setCalendarHooks(CalendarHooks hooks);
    // Wires the month calendars: double clicks on cal1, drops on any day, repaints.
    void attachCalendarPane(CalendarPane* pane);
    void repaintActiveCalendar();
    void showDroppedDate(int index, int date);

    // Lets other parts equip each editor before it opens (the Repeat menu, the time popup).
    void setEditorSetup(std::function<void(TaskEditor&)> setup) { editorSetup_ = std::move(setup); }

    // After a command changed the panes and wrote them back: tells the store's views
    // (store_views.h), which show the panes, refit their columns, refresh the captions and
    // the notes pane.
    void panesChanged();
    // A pane's change reaches its file: the day view is written back to the store for the
    // date (grid.grd), the to-do list saves gridNon.grd.
    void saveChangedPane(TaskPane pane, int date);

    QMenu* dayMenu() const { return dayMenu_; }
    QMenu* todoMenu() const { return todoMenu_; }

private:
    void buildActions();
    void setUpStyling();
    int selectedDate() const;
    void showSelectedDate(int date) const;
    std::optional<TaskEditResult> runEditor(const TaskEditInput& input);
    EditorLabelStyle labelStyle() const;
    std::string nowTimeText() const;
    TaskViews views_;
    AppState& state_;
    std::unique_ptr<TaskDrag> drag_;
    CalendarHooks hooks_;
    std::function<void(TaskEditor&)> editorSetup_;
    QMenu* dayMenu_ = nullptr;
    QMenu* todoMenu_ = nullptr;
};

} // namespace dw
