#include "app/editing/task_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/selected_day.h"
#include "app/editing/day_notes.h"
#include "app/editing/task_drag.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/window_state.h"
#include "app/store/category_list_dialog.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/month_view.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/dates/date_format.h"
#include "core/editing/task_edit.h"
#include "core/shell/layout.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QDropEvent>
#include <QEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

namespace dw {

TaskCommands::TaskCommands(const TaskViews& views, AppState& state)
    : QObject(views.window), views_(views), state_(state),
      drag_(std::make_unique<TaskDrag>(*views.gridDay, *views.gridNonday,
                                       SelectedDay(*views.calendars), state, *this)) {
    buildActions();
    setUpStyling();
    // Until the calendars are wired, the selected date stands in for them.
    hooks_.showDroppedDate = [this](int, int date) { showSelectedDate(date); };

    for (TaskPane pane : {TaskPane::Day, TaskPane::Todo}) {
        CellGrid* g = grid(pane);
        g->setRowDragDrop(true);
        // The drop is handled once the drag has ended, so a question can be asked safely.
        connect(g, &CellGrid::rowDropped, this, [this, pane](const QMimeData* data, int row) {
            const std::optional<TaskPane> source = drag_->draggedPane(data);
            if (!source)
                return;
            QTimer::singleShot(
                0, this, [this, source, pane, row] { drag_->gridDayDragDrop(*source, pane, row); });
        });
    }
    connect(views_.gridDay, &QAbstractItemView::doubleClicked, this,
            [this] { editTask(CommandSource::dayDoubleClick); });
    connect(views_.gridNonday, &QAbstractItemView::doubleClicked, this,
            [this] { editTask(CommandSource::todoDoubleClick); });
    attachCalendarPane(views_.calendars);
}

int TaskCommands::selectedDate() const {
    return SelectedDay(*views_.calendars).date();
}

void TaskCommands::showSelectedDate(int date) const {
    SelectedDay(*views_.calendars).show(date);
}

void TaskCommands::attachCalendarPane(CalendarPane* pane) {
    connect(pane, &CalendarPane::dayDoubleClicked, this, &TaskCommands::addOrEditOnDate);
    connect(pane, &CalendarPane::dayDropped, this, [this](int index, int date, QDropEvent* e) {
        if (!drag_->draggedPane(e->mimeData())) {
            e->ignore();
            return;
        }
        // As with the panes: the move runs once the drag has ended.
        const QByteArray payload = e->mimeData()->data(kRowDragMimeType);
        QTimer::singleShot(0, this, [this, index, date, payload] {
            QMimeData data;
            data.setData(kRowDragMimeType, payload);
            drag_->onCalendarDrop(index, date, &data);
        });
    });
    // An edit typed in the notes pane is saved before a date change refills the day view,
    // whatever moved the date (a key, a menu command, a drop).
    pane->setBeforeDayViewRefill([this] { writeBackNotesPane(); });
    hooks_.repaintActive = [pane] { pane->colorAllCalendars(false); };
    hooks_.showDroppedDate = [pane](int index, int date) {
        MonthView* cal = pane->calendar(index);
        if (!cal)
            return;
        cal->setDate(date);
        pane->onCalendarClicked(index);
        // A day of a neighbouring month may have moved the months on; the date is shown
        // all the same.
        if (pane->selectedDay() != date)
            pane->setSelectedDate(date);
    };
}

TaskCommands::~TaskCommands() = default;

// ---------------------------------------------------------------------------------------
// Controls

void TaskCommands::buildActions() {
    using S = CommandSource;
    const MainActions& a = *views_.actions;
    auto on = [this](QAction* action, auto run) {
        connect(action, &QAction::triggered, this, run);
    };
    // The toolbars over the day view and beside the to-do list, and the Edit menu.
    on(a.dayToolbarAdd, [this] { addTask(S::dayToolbarAdd); });
    on(a.dayToolbarEdit, [this] { editTask(S::dayToolbarEdit); });
    on(a.dayToolbarDone, [this] { markAsCompleted(S::dayToolbarDone); });
    on(a.dayToolbarDelete, [this] { deleteTask(S::dayToolbarDelete); });
    on(a.toggleAlarm, [this] { toggleAlarm(); });
    on(a.todoToolbarAdd, [this] { addTask(S::todoToolbarAdd); });
    on(a.todoToolbarEdit, [this] { editTask(S::todoToolbarEdit); });
    on(a.todoToolbarDone, [this] { markAsCompleted(S::todoToolbarDone); });
    on(a.todoToolbarDelete, [this] { deleteTask(S::todoToolbarDelete); });
    on(a.insertTask, [this] { addTask(S::dayToolbarAdd); });
    on(a.insertTodo, [this] { addTask(S::todoToolbarAdd); });
    on(a.editTask, [this] { editTask(S::dayToolbarEdit); });
    on(a.editTodo, [this] { editTask(S::todoToolbarEdit); });
    on(a.deleteTask, [this] { deleteTask(S::dayToolbarDelete); });
    on(a.deleteTodo, [this] { deleteTask(S::todoToolbarDelete); });
    on(a.categories, [this] { editCategories(); });

    // Context menus of the two panes.
    on(a.dayMenuAdd, [this] { addTask(S::dayMenuAdd); });
    on(a.dayMenuEdit, [this] { editTask(S::dayMenuEdit); });
    on(a.dayMenuDone, [this] { markAsCompleted(S::dayMenuDone); });
    on(a.dayMenuDelete, [this] { deleteTask(S::dayMenuDelete); });
    on(a.todoMenuAdd, [this] { addTask(S::todoMenuAdd); });
    on(a.todoMenuEdit, [this] { editTask(S::todoMenuEdit); });
    on(a.todoMenuDone, [this] { markAsCompleted(S::todoMenuDone); });
    on(a.todoMenuDelete, [this] { deleteTask(S::todoMenuDelete); });
    dayMenu_ = new QMenu(views_.window);
    dayMenu_->setObjectName("dayMenu");
    dayMenu_->addActions({a.dayMenuAdd, a.dayMenuEdit, a.dayMenuDone, a.dayMenuDelete});
    todoMenu_ = new QMenu(views_.window);
    todoMenu_->setObjectName("todoMenu");
    todoMenu_->addActions({a.todoMenuAdd, a.todoMenuEdit, a.todoMenuDone, a.todoMenuDelete});
    for (const auto& pane :
         {std::pair{views_.gridDay, dayMenu_}, std::pair{views_.gridNonday, todoMenu_}}) {
        CellGrid* g = pane.first;
        QMenu* menu = pane.second;
        g->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(g, &QWidget::customContextMenuRequested, this, [g, menu](const QPoint& pos) {
            // The menu's commands act on the pane it was opened over.
            g->setFocus();
            menu->popup(g->viewport()->mapToGlobal(pos));
        });
    }
}

void TaskCommands::setUpStyling() {
    // Done rows are struck out while the option is on, read at the moment of drawing.
    CellTable& day = state_.store().gridDay();
    CellTable& todo = state_.store().gridNonday();
    views_.gridDay->setRowStyler([this, &day](int row, CellStyle& s) {
        s.strikeOut = state_.options().strikeOut && isStruckOutDone(day.cell(DayCol::Done, row));
    });
    views_.gridNonday->setRowStyler([this, &todo](int row, CellStyle& s) {
        s.strikeOut = state_.options().strikeOut && isStruckOutDone(todo.cell(TodoCol::Done, row));
    });
}

void TaskCommands::setCalendarHooks(CalendarHooks hooks) {
    if (!hooks.showDroppedDate)
        hooks.showDroppedDate = [this](int, int date) { showSelectedDate(date); };
    hooks_ = std::move(hooks);
}

void TaskCommands::repaintActiveCalendar() {
    if (hooks_.repaintActive)
        hooks_.repaintActive();
}

void TaskCommands::showDroppedDate(int index, int date) {
    hooks_.showDroppedDate(index, date);
}

// ---------------------------------------------------------------------------------------
// Helpers

CellGrid* TaskCommands::grid(TaskPane pane) const {
    return pane == TaskPane::Day ? views_.gridDay : views_.gridNonday;
}

std::optional<TaskPane> TaskCommands::focusedPane() const {
    const QWidget* f = views_.window->focusWidget();
    if (f == views_.gridDay)
        return TaskPane::Day;
    if (f == views_.gridNonday)
        return TaskPane::Todo;
    return std::nullopt;
}

EditorLabelStyle TaskCommands::labelStyle() const {
    const ShadowLabel* date = views_.dateCaption;
    EditorLabelStyle style;
    style.shadowDepth = date->shadowDepth();
    // The caption's own look; the date caption itself may be red for a holiday.
    style.color = toQColor(titleCaptionLook(views_.windowState->shadows).color);
    style.titleFont = date->font();
    return style;
}

std::string TaskCommands::nowTimeText() const {
    return timeCellText(state_.clock().now(), state_.fs());
}

std::optional<TaskEditResult> TaskCommands::runEditor(const TaskEditInput& input) {
    TaskEditor editor(state_.fs(), state_.clock(), state_.paths().dataDir, state_.completedTasks(),
                      state_.prompts(), labelStyle(), selectedDate(), input, views_.window);
    if (editorSetup_)
        editorSetup_(editor);
    if (editor.exec() != QDialog::Accepted)
        return std::nullopt;
    return editor.output();
}

void TaskCommands::saveChangedPane(TaskPane pane, int date) {
    if (pane == TaskPane::Day) {
        showErrors(state_.prompts(), state_.store().writeToStore(date));
        repaintActiveCalendar();
    } else {
        showErrors(state_.prompts(), state_.store().saveTodoFile());
    }
}

void TaskCommands::panesChanged() {
    // The command worked on the panes themselves and wrote them back.
    StoreChange change = StoreChange::onDates({selectedDate()}, true);
    change.dayViewCurrent = true;
    state_.storeEvents().publish(change);
}

// ---------------------------------------------------------------------------------------
// Add

void TaskCommands::addTask(CommandSource source) {
    writeBackNotesPane();
    const TaskPane pane = addPane(source);
    CellGrid* g = grid(pane);
    const int date = selectedDate();
    const FormatSettings& fs = state_.fs();

    TaskEditInput in;
    if (pane == TaskPane::Day) {
        const EditorTitle title = addDayTitle(date, fs, state_.clock());
        in.title = title.text;
        if (title.past)
            in.titleColor = toQColor(kPastTitleColor);
    } else {
        in.title = kTodoAddTitle;
        in.timeHidden = true;
    }
    in.origin = originText(pane, true, date, fs);
    in.category = views_.windowState->defaultCategory;

    if (const std::optional<TaskEditResult> r = runEditor(in)) {
        CellTable& t = g->table();
        const int row = freePaneRow(t, pane);
        writePaneRow(
            t, pane, row,
            DatedTask{timeCellText(r->time, fs), r->category, r->notes, r->done, r->alarm});
        const CellTable::Row added = t.row(row);
        t.sortRows();
        saveChangedPane(pane, date);
        panesChanged();
        // The selection follows the new task to where the sort put it.
        const int at = rowHolding(t, added, g->selectedRow());
        if (at > 0)
            g->selectTableRow(at);
        views_.notes->fill();
    }
    g->setFocus();
}

// ---------------------------------------------------------------------------------------
// Edit and Mark as completed

void TaskCommands::editTask(CommandSource source) {
    if (const std::optional<TaskPane> pane = focusPaneOf(source))
        grid(*pane)->setFocus();
    editOrComplete(source, true);
    repaintActiveCalendar();
}

void TaskCommands::markAsCompleted(CommandSource source) {
    if (const std::optional<TaskPane> pane = focusPaneOf(source))
        grid(*pane)->setFocus();
    editOrComplete(source, false);
    repaintActiveCalendar();
}

void TaskCommands::editOrComplete(CommandSource source, bool edit) {
    writeBackNotesPane();
    const TaskPane pane = editPane(focusedPane(), source);
    CellGrid* g = grid(pane);
    CellTable& t = g->table();
    const int row = g->selectedRow();
    if (!isPaneRowOccupied(t, pane, row)) {
        state_.prompts().error(kNothingToEdit);
        return;
    }
    const int date = selectedDate();
    const FormatSettings& fs = state_.fs();
    const DatedTask current = taskOfRow(t, pane, row, std::string());
    if (!edit && current.done) {
        state_.prompts().error(kAlreadyComplete);
        return;
    }

    TaskEditInput in;
    in.caption = existingTaskCaption(current.what);
    in.origin = originText(pane, false, date, fs);
    in.existing = true;
    in.datedExisting = pane == TaskPane::Day;
    in.completeNow = !edit;
    in.timeHidden = pane == TaskPane::Todo || current.done;
    if (pane == TaskPane::Day) {
        in.title = dayTitle(date, fs, state_.clock());
        // A time that does not parse reads as now.
        in.time = dayFraction(timeOfText(current.time, fs, state_.clock()));
        in.alarm = current.alarm;
    }
    in.category = current.category;
    in.done = current.done;
    in.notes = current.what;

    const CellTable::Row before = t.row(row);
    if (const std::optional<TaskEditResult> r = runEditor(in)) {
        const DatedTask task{timeCellText(r->time, fs), r->category, r->notes, r->done, r->alarm};
        // The row is found again by its values, should anything have moved it meanwhile.
        const int at = rowHolding(t, before, g->selectedRow());
        if (pane == TaskPane::Day && wholeDays(r->taskDate) != date) {
            // Rescheduled: the task reaches its new date in the file before it leaves the
            // shown day, so no moment on disk is without it.
            showErrors(state_.prompts(), state_.store().insertTask(wholeDays(r->taskDate), task));
            if (at > 0) {
                g->selectTableRow(at);
                deleteEntry(TaskPane::Day, true, date);
            }
        } else if (at > 0) {
            writePaneRow(t, pane, at, task);
            // Every change reaches its file at once, whatever the route.
            saveChangedPane(pane, date);
        }
        panesChanged();
    }
    g->setFocus();
}

// ---------------------------------------------------------------------------------------
// Delete

void TaskCommands::deleteTask(CommandSource source) {
    writeBackNotesPane();
    const TaskPane pane = deletePane(source);
    CellGrid* g = grid(pane);
    const CellTable& t = g->table();
    const int row = g->selectedRow();
    if (!isPaneRowOccupied(t, pane, row)) {
        state_.prompts().error(kNothingToDelete);
        return;
    }
    const std::string& what = t.cell(pane == TaskPane::Day ? DayCol::What : TodoCol::What, row);
    if (views_.windowState->confirmDeletes &&
        !state_.prompts().askYesNo(deleteQuestion(what), "Confirm"))
        return;
    deleteEntry(pane, pane == TaskPane::Day, selectedDate());
}

void TaskCommands::deleteEntry(TaskPane pane, bool writeBack, int date) {
    CellGrid* g = grid(pane);
    showErrors(state_.prompts(),
               state_.store().deleteEntry(g->table(), g->selectedRow(), writeBack, date));
    if (writeBack)
        repaintActiveCalendar();
    if (pane == TaskPane::Todo)
        showErrors(state_.prompts(), state_.store().saveTodoFile());
    panesChanged();
}

// ---------------------------------------------------------------------------------------
// Toggle alarm, calendar double click

void TaskCommands::toggleAlarm() {
    writeBackNotesPane();
    CellGrid* g = views_.gridDay;
    if (!dw::toggleAlarm(g->table(), g->selectedRow()))
        return;
    showErrors(state_.prompts(), state_.store().writeToStore(selectedDate()));
    g->refresh();
}

void TaskCommands::addOrEditOnDate(int /*date*/) {
    // The double-clicked day is the selected date by now, and the day view shows it.
    if (!state_.store().gridDay().cell(DayCol::Time, 1).empty())
        editTask(CommandSource::dayToolbarEdit);
    else
        addTask(CommandSource::dayToolbarAdd);
}

// ---------------------------------------------------------------------------------------
// Notes pane

void TaskCommands::writeBackNotesPane() {
    views_.notes->writeBack();
}

// ---------------------------------------------------------------------------------------
// Categories

void TaskCommands::editCategories() {
    editCategoryFile(views_.window, state_.prompts(), state_.paths().dataDir);
}

} // namespace dw
