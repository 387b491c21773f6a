#include "app/editing/task_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/task_drag.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/store/list_box_dialog.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/month_view.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/dates/date_format.h"
#include "core/editing/task_edit.h"
#include "core/prompts/prompts.h"
#include "core/shell/layout.h"
#include "core/store/helpers.h"

#include <QAction>
#include <QDropEvent>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

namespace dw {

namespace {

// Watches the notes pane for the moment it loses the focus.
class FocusOutWatcher : public QObject {
public:
    FocusOutWatcher(QObject* parent, std::function<void()> onExit)
        : QObject(parent), onExit_(std::move(onExit)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut)
            onExit_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onExit_;
};

} // namespace

NotesField* makeNotesPane(QWidget* parent) {
    return new NotesField(kNotesMaxChars, parent);
}

TaskCommands::TaskCommands(TfrmMain& window, AppState& state)
    : QObject(&window), window_(window), state_(state),
      drag_(std::make_unique<TaskDrag>(window, state, *this)) {
    buildActions();
    setUpNotesPane();
    setUpStyling();
    // Until the calendars are wired, the window's own date stands in for them.
    hooks_.showDroppedDate = [this](int, int date) { window_.setSelectedDate(date); };

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
    connect(window_.gridDay(), &QAbstractItemView::doubleClicked, this,
            [this] { btEditClick(CommandSource::gridDayDblClick); });
    connect(window_.gridNonday(), &QAbstractItemView::doubleClicked, this,
            [this] { btEditClick(CommandSource::gridNondayDblClick); });
    if (auto* pane = window_.findChild<CalendarPane*>())
        attachCalendarPane(pane);
}

void TaskCommands::attachCalendarPane(CalendarPane* pane) {
    connect(pane, &CalendarPane::dayDoubleClicked, this, &TaskCommands::cal1CellDblClick);
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
            drag_->cal1DragDrop(index, date, &data);
        });
    });
    // An edit typed in the notes pane is saved before a date change refills the day view,
    // whatever moved the date (a key, a menu command, a drop).
    pane->setBeforeDayViewRefill([this] { memWhatExit(); });
    hooks_.repaintActive = [pane] { pane->ColorAllCalendars(false); };
    hooks_.showDroppedDate = [pane](int index, int date) {
        MonthView* cal = pane->calendar(index);
        if (!cal)
            return;
        cal->setDate(date);
        pane->cal1Click(index);
        // A day of a neighbouring month may have moved the months on; the date is shown
        // all the same.
        if (pane->selectedDay() != date)
            pane->setSelectedDate(date);
    };
}

TaskCommands::~TaskCommands() = default;

// ---------------------------------------------------------------------------------------
// Controls

QAction* TaskCommands::makeAction(const char* name, const QString& text, const QString& hint,
                                  const char* theme, const char* iconFile,
                                  std::function<void()> run) {
    auto* a = new QAction(text, &window_);
    a->setObjectName(name);
    if (!hint.isEmpty())
        a->setToolTip(hint);
    if (iconFile)
        a->setIcon(QIcon::fromTheme(theme, QIcon(QString(":/icons/") + iconFile)));
    connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return a;
}

void TaskCommands::buildActions() {
    using S = CommandSource;
    // The toolbars over the day view and beside the to-do list.
    QToolBar* day = window_.dayToolBar();
    day->addAction(makeAction("tbAdd1", "Add", "Add new task", "list-add", "add.png",
                              [this] { btAddClick(S::tbAdd1); }));
    day->addAction(makeAction("tbEdit1", "Edit", "Edit task", "document-edit", "edit.png",
                              [this] { btEditClick(S::tbEdit1); }));
    day->addAction(makeAction("tbDone1", "Mark as completed", "Mark as completed", "object-select",
                              "done.png", [this] { Markascompleted1Click(S::tbDone1); }));
    day->addAction(makeAction("tbDel1", "Delete", "Delete task", "edit-delete", "delete.png",
                              [this] { btDelClick(S::tbDel1); }));
    day->addAction(makeAction("ToolButton15", "Toggle alarm", "Toggle alarm (yes/no)",
                              "alarm-symbolic", "alarm.png", [this] { ToolButton15Click(); }));
    day->show();

    QToolBar* todo = window_.todoToolBar();
    todo->addAction(makeAction("tbAdd2", "Add", "Add new", "list-add", "add.png",
                               [this] { btAddClick(S::tbAdd2); }));
    todo->addAction(makeAction("tbEdit2", "Edit", "Edit task", "document-edit", "edit.png",
                               [this] { btEditClick(S::tbEdit2); }));
    todo->addAction(makeAction("tbDone2", "Mark as completed", "Mark as completed", "object-select",
                               "done.png", [this] { Markascompleted1Click(S::tbDone2); }));
    todo->addAction(makeAction("tbDel2", "Delete", "Delete", "edit-delete", "delete.png",
                               [this] { btDelClick(S::tbDel2); }));
    todo->show();

    // Context menus of the two panes.
    dayMenu_ = new QMenu(&window_);
    dayMenu_->setObjectName("DayPopup");
    dayMenu_->addAction(
        makeAction("Add1", "Add", {}, "", nullptr, [this] { btAddClick(S::Add1); }));
    dayMenu_->addAction(
        makeAction("Edit2", "Edit", {}, "", nullptr, [this] { btEditClick(S::Edit2); }));
    dayMenu_->addAction(makeAction("Markascompleted2", "Mark as completed", {}, "", nullptr,
                                   [this] { Markascompleted1Click(S::Markascompleted2); }));
    dayMenu_->addAction(
        makeAction("Del1", "Delete", {}, "", nullptr, [this] { btDelClick(S::Del1); }));
    todoMenu_ = new QMenu(&window_);
    todoMenu_->setObjectName("TodoPopup");
    todoMenu_->addAction(
        makeAction("AddTodo1", "Add", {}, "", nullptr, [this] { btAddClick(S::AddTodo1); }));
    todoMenu_->addAction(
        makeAction("EditTodo1", "Edit", {}, "", nullptr, [this] { btEditClick(S::EditTodo1); }));
    todoMenu_->addAction(makeAction("Markascompleted1", "Mark as completed", {}, "", nullptr,
                                    [this] { Markascompleted1Click(S::Markascompleted1); }));
    todoMenu_->addAction(
        makeAction("DelTodo1", "Delete", {}, "", nullptr, [this] { btDelClick(S::DelTodo1); }));
    for (auto [g, menu] :
         {std::pair{window_.gridDay(), dayMenu_}, std::pair{window_.gridNonday(), todoMenu_}}) {
        g->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(g, &QWidget::customContextMenuRequested, this, [g, menu](const QPoint& pos) {
            // The menu's commands act on the pane it was opened over.
            g->setFocus();
            menu->popup(g->viewport()->mapToGlobal(pos));
        });
    }

    // The Edit menu, after File; its shortcuts work wherever the focus is in the window.
    auto* edit = new QMenu("&Edit", &window_);
    edit->setObjectName("Edit1");
    struct Item {
        const char* name;
        const char* text;
        QList<QKeySequence> keys;
        std::function<void()> run;
    };
    const Item items[] = {
        {"Insertnewtask1",
         "Insert new task",
         {QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         [this] { btAddClick(S::tbAdd1); }},
        {"Insertnewtodo1",
         "Insert new to-do",
         {QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
         [this] { btAddClick(S::tbAdd2); }},
        {"Editexistingtask1",
         "Edit existing task",
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)},
         [this] { btEditClick(S::tbEdit1); }},
        {"Editexistingtodo1",
         "Edit existing to-do",
         {QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)},
         [this] { btEditClick(S::tbEdit2); }},
        {"Deleteexistingtask1",
         "Delete existing task",
         {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
         [this] { btDelClick(S::tbDel1); }},
        {"Deleteexistingtodo1",
         "Delete existing to-do",
         {QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
         [this] { btDelClick(S::tbDel2); }},
    };
    for (const Item& i : items) {
        QAction* a = makeAction(i.name, i.text, {}, "", nullptr, i.run);
        a->setShortcuts(i.keys);
        edit->addAction(a);
        static_cast<QWidget&>(window_).addAction(a);
    }
    QMenuBar* bar = window_.menuBar();
    QMenu* file = window_.findChild<QMenu*>("File1");
    QAction* afterFile = nullptr;
    const QList<QAction*> menus = bar->actions();
    for (int i = 0; i < menus.size(); ++i)
        if (file && menus[i] == file->menuAction() && i + 1 < menus.size())
            afterFile = menus[i + 1];
    bar->insertMenu(afterFile, edit);

    // "Categories" in the File menu, after "Options".
    QAction* categories =
        makeAction("Categories1", "Categories", {}, "", nullptr, [this] { Categories1Click(); });
    if (file) {
        QAction* before = nullptr;
        const QList<QAction*> fileItems = file->actions();
        for (int i = 0; i < fileItems.size(); ++i)
            if (fileItems[i]->objectName() == "Options1" && i + 1 < fileItems.size())
                before = fileItems[i + 1];
        file->insertAction(before, categories);
    }
}

void TaskCommands::setUpNotesPane() {
    QPlainTextEdit* mem = window_.memWhat();
    mem->installEventFilter(new FocusOutWatcher(this, [this] { memWhatExit(); }));
}

void TaskCommands::setUpStyling() {
    // Done rows are struck out while the option is on, read at the moment of drawing.
    CellTable& day = state_.store().gridDay();
    CellTable& todo = state_.store().gridNonday();
    window_.gridDay()->setRowStyler([this, &day](int row, CellStyle& s) {
        s.strikeOut = state_.options().strikeOut && isStruckOutDone(day.cell(DayCol::Done, row));
    });
    window_.gridNonday()->setRowStyler([this, &todo](int row, CellStyle& s) {
        s.strikeOut = state_.options().strikeOut && isStruckOutDone(todo.cell(TodoCol::Done, row));
    });
}

void TaskCommands::setCalendarHooks(CalendarHooks hooks) {
    if (!hooks.showDroppedDate)
        hooks.showDroppedDate = [this](int, int date) { window_.setSelectedDate(date); };
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
    return pane == TaskPane::Day ? window_.gridDay() : window_.gridNonday();
}

std::optional<TaskPane> TaskCommands::focusedPane() const {
    const QWidget* f = window_.focusWidget();
    if (f == window_.gridDay())
        return TaskPane::Day;
    if (f == window_.gridNonday())
        return TaskPane::Todo;
    return std::nullopt;
}

EditorLabelStyle TaskCommands::labelStyle() const {
    const ShadowLabel* date = window_.lblDate();
    EditorLabelStyle style;
    style.shadowDepth = date->shadowDepth();
    // The caption's own look; the date caption itself may be red for a holiday.
    style.color = toQColor(titleCaptionLook(window_.shadows()).color);
    style.titleFont = date->font();
    return style;
}

std::string TaskCommands::nowTimeText() const {
    return timeCellText(state_.clock().now(), state_.fs());
}

std::optional<TaskEditResult> TaskCommands::runEditor(const TaskEditInput& input) {
    TfrmEdit editor(state_.fs(), state_.clock(), state_.paths().dataDir, state_.completedTasks(),
                    labelStyle(), window_.selectedDate(), input, &window_);
    if (editorSetup_)
        editorSetup_(editor);
    if (editor.exec() != QDialog::Accepted)
        return std::nullopt;
    return editor.output();
}

int TaskCommands::rowHolding(TaskPane pane, const CellTable::Row& values) const {
    CellGrid* g = grid(pane);
    const CellTable& t = g->table();
    const int selected = g->selectedRow();
    if (selected < t.rowCount() && t.row(selected) == values)
        return selected;
    for (int r = 1; r < t.rowCount(); ++r)
        if (t.row(r) == values)
            return r;
    return -1;
}

void TaskCommands::panesChanged() {
    window_.gridDay()->refresh();
    window_.gridNonday()->refresh();
    window_.ResizeGridDay();
    window_.ResizeGridNonDay();
    window_.UpdateLabels();
    window_.DrawExtraMemo();
}

// ---------------------------------------------------------------------------------------
// Add

void TaskCommands::btAddClick(CommandSource source) {
    memWhatExit();
    const TaskPane pane = addPane(source);
    CellGrid* g = grid(pane);
    const int date = window_.selectedDate();
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
    in.category = window_.defaultCategory();

    if (const std::optional<TaskEditResult> r = runEditor(in)) {
        CellTable& t = g->table();
        const int row = freePaneRow(t, pane);
        writePaneRow(
            t, pane, row,
            DatedTask{timeCellText(r->time, fs), r->category, r->notes, r->done, r->alarm});
        const CellTable::Row added = t.row(row);
        t.sortRows();
        if (pane == TaskPane::Day) {
            state_.store().writeToStore(date);
            repaintActiveCalendar();
        }
        panesChanged();
        // The selection follows the new task to where the sort put it.
        const int at = rowHolding(pane, added);
        if (at > 0)
            g->selectTableRow(at);
        window_.DrawExtraMemo();
    }
    g->setFocus();
}

// ---------------------------------------------------------------------------------------
// Edit and Mark as completed

void TaskCommands::btEditClick(CommandSource source) {
    if (const std::optional<TaskPane> pane = focusPaneOf(source))
        grid(*pane)->setFocus();
    EditOrComplete(source, true);
    repaintActiveCalendar();
}

void TaskCommands::Markascompleted1Click(CommandSource source) {
    if (const std::optional<TaskPane> pane = focusPaneOf(source))
        grid(*pane)->setFocus();
    EditOrComplete(source, false);
    repaintActiveCalendar();
}

void TaskCommands::EditOrComplete(CommandSource source, bool edit) {
    memWhatExit();
    const TaskPane pane = editPane(focusedPane(), source);
    CellGrid* g = grid(pane);
    CellTable& t = g->table();
    const int row = g->selectedRow();
    if (!isPaneRowOccupied(t, pane, row)) {
        showError(kNothingToEdit);
        return;
    }
    const int date = window_.selectedDate();
    const FormatSettings& fs = state_.fs();
    const DatedTask current = taskOfRow(t, pane, row, std::string());
    if (!edit && current.done) {
        showError(kAlreadyComplete);
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
        const int at = rowHolding(pane, before);
        if (pane == TaskPane::Day && wholeDays(r->taskDate) != date) {
            // Rescheduled: the task leaves the shown day and goes to its new date.
            if (at > 0) {
                g->selectTableRow(at);
                deleteEntry(TaskPane::Day, true, date);
            }
            state_.store().insertTask(wholeDays(r->taskDate), task);
        } else if (at > 0) {
            CellTable::Row& cells = t.row(at);
            if (pane == TaskPane::Day) {
                cells[DayCol::Time] = task.time;
                cells[DayCol::Category] = task.category;
                cells[DayCol::What] = task.what;
                cells[DayCol::Done] = yesNo(task.done);
                cells[DayCol::Alarm] = yesNo(task.alarm);
                // Every change of the day view goes back to the store, whatever the route.
                state_.store().writeToStore(date);
            } else {
                cells[TodoCol::Category] = task.category;
                cells[TodoCol::What] = task.what;
                cells[TodoCol::Done] = yesNo(task.done);
            }
        }
        panesChanged();
    }
    g->setFocus();
}

// ---------------------------------------------------------------------------------------
// Delete

void TaskCommands::btDelClick(CommandSource source) {
    memWhatExit();
    const TaskPane pane = deletePane(source);
    CellGrid* g = grid(pane);
    const CellTable& t = g->table();
    const int row = g->selectedRow();
    if (!isPaneRowOccupied(t, pane, row)) {
        showError(kNothingToDelete);
        return;
    }
    const std::string& what = t.cell(pane == TaskPane::Day ? DayCol::What : TodoCol::What, row);
    if (window_.confirmDeletes() && !prompts().askYesNo(deleteQuestion(what), "Confirm"))
        return;
    deleteEntry(pane, pane == TaskPane::Day, window_.selectedDate());
}

void TaskCommands::deleteEntry(TaskPane pane, bool writeBack, int date) {
    CellGrid* g = grid(pane);
    state_.store().deleteEntry(g->table(), g->selectedRow(), writeBack, date);
    if (writeBack)
        repaintActiveCalendar();
    panesChanged();
}

// ---------------------------------------------------------------------------------------
// Toggle alarm, calendar double click

void TaskCommands::ToolButton15Click() {
    memWhatExit();
    CellGrid* g = window_.gridDay();
    if (!toggleAlarm(g->table(), g->selectedRow()))
        return;
    state_.store().writeToStore(window_.selectedDate());
    g->refresh();
}

void TaskCommands::cal1CellDblClick(int /*date*/) {
    // The double-clicked day is the selected date by now, and the day view shows it.
    if (!state_.store().gridDay().cell(DayCol::Time, 1).empty())
        btEditClick(CommandSource::tbEdit1);
    else
        btAddClick(CommandSource::tbAdd1);
}

// ---------------------------------------------------------------------------------------
// Notes pane

void TaskCommands::memWhatExit() {
    QPlainTextEdit* mem = window_.memWhat();
    if (!mem->document()->isModified())
        return;
    mem->document()->setModified(false);
    CellGrid* g = window_.gridDay();
    CellTable& day = g->table();
    const int row = g->selectedRow();
    if (!isPaneRowOccupied(day, TaskPane::Day, row))
        return;
    const std::string typed = mem->toPlainText().toStdString();
    if (notesAreBlank(memoLines(typed))) {
        // A task keeps its text: as in the editor, blank notes are refused.
        window_.DrawExtraMemo();
        showNotesBlankLater();
        return;
    }
    const std::string what = notesPaneWriteBack(typed);
    if (what == day.cell(DayCol::What, row))
        return;
    day.setCell(DayCol::What, row, what);
    // The day view's own date: when a date change is under way the calendars already show
    // the new one.
    state_.store().writeToStore(state_.store().dayViewDate());
    g->refresh();
    window_.DrawExtraMemo();
}

void TaskCommands::showNotesBlankLater() {
    // Not from inside the focus change that brought us here.
    QTimer::singleShot(0, this, [] { showError(kNotesBlankMessage); });
}

// ---------------------------------------------------------------------------------------
// Categories

void TaskCommands::Categories1Click() {
    editCategoryFile(&window_, state_.paths().dataDir);
}

} // namespace dw
