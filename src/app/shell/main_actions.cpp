#include "app/shell/main_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QWidget>

namespace dw {

MainActions::MainActions(QWidget* window) : QObject(window), window_(window) {
    // File
    options = make("optionsAction", "Options", "Options", "preferences-system", "options.png");
    options->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    categories = make("categoriesAction", "Categories");
    hide = make("hideAction", "Hide", {}, "go-down", "hide.png");
    hide->setShortcut(QKeySequence(Qt::ALT | Qt::Key_H));
    exit = make("exitAction", "Exit", {}, "application-exit", "exit.png");
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    find = make("findAction", "Find", "Find text in date oriented task", "edit-find", "find.png");
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));

    // Edit
    insertTask = make("insertTaskAction", "Insert new task");
    insertTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    insertTodo = make("insertTodoAction", "Insert new to-do");
    insertTodo->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    editTask = make("editTaskAction", "Edit existing task");
    editTask->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    editTodo = make("editTodoAction", "Edit existing to-do");
    editTodo->setShortcuts(
        {QKeySequence(Qt::SHIFT | Qt::Key_Return), QKeySequence(Qt::SHIFT | Qt::Key_Enter)});
    deleteTask = make("deleteTaskAction", "Delete existing task");
    deleteTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    deleteTodo = make("deleteTodoAction", "Delete existing to-do");
    deleteTodo->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));

    // Navigate
    nextTask = make("nextTaskAction", "Next Highlighted Task");
    nextTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    priorTask = make("priorTaskAction", "Prior Highlighted Task");
    priorTask->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    nextMonth = make("nextMonthAction", "Next Month");
    nextMonth->setShortcut(QKeySequence(Qt::Key_PageDown));
    priorMonth = make("priorMonthAction", "Prior Month");
    priorMonth->setShortcut(QKeySequence(Qt::Key_PageUp));
    nextYear = make("nextYearAction", "Next Year");
    nextYear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    priorYear = make("priorYearAction", "Prior Year");
    priorYear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    today = make("todayAction", "Today", "Goto today", "go-jump-today", "today.png");
    today->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    // The menu's shortcuts act whichever control has the focus: the notes pane and the
    // grids would otherwise keep Page Up, Ctrl+Home and the like for themselves.
    navigation_ = {nextTask, priorTask, nextMonth, priorMonth, nextYear, priorYear, today, find};

    // Resize
    calendarsWidth = make("calendarsWidthAction", "4-month Calendars Width");
    dayToTodo = make("dayToTodoAction", "Day to To-do Tasks");
    dayNotes = make("dayNotesAction", "Daily Tasks/Notes");
    maximizeDay = make("maximizeDayAction", "Maximize daily tasks");
    maximizeDay->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    maximizeTodo = make("maximizeTodoAction", "Maximize to-do tasks");
    maximizeTodo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    memorizeLayout = make("memorizeLayoutAction", "Memorize screen size/positions");
    restoreLayout = make("restoreLayoutAction", "Restore screen size/positions");
    restoreLayout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    // Help ("Help" takes no Alt+H mnemonic: that key hides the window)
    help = make("helpAction", "Help", "Help", "help-contents", "help.png");
    help->setShortcut(QKeySequence(Qt::Key_F1));
    about = make("aboutAction", "About Dayweaver");

    hideCalendar =
        make("hideCalendarAction", "Hide calendar", "Hide calendar", "go-bottom", "tray.png");
    // The menu bar shows a picture instead of a caption, so the caption and the picture
    // have an action each. The picture is our own, not a theme's: it tells whether
    // filters are on.
    filters = make("filtersAction", "Filters");
    filtersButton = make("filtersButtonAction", "Filters", "Filter tasks");
    filtersButton->setIcon(QIcon(":/icons/filter.png"));

    popupEnable = make("popupEnableAction", "Enable popup summary");
    popupDisable = make("popupDisableAction", "Disable popup summary");
    auto* popupChoice = new QActionGroup(this);
    for (QAction* a : {popupEnable, popupDisable}) {
        a->setCheckable(true);
        popupChoice->addAction(a);
    }

    // The day view
    dayToolbarAdd = make("dayToolbarAdd", "Add", "Add new task", "list-add", "add.png");
    dayToolbarEdit = make("dayToolbarEdit", "Edit", "Edit task", "document-edit", "edit.png");
    dayToolbarDone = make("dayToolbarDone", "Mark as completed", "Mark as completed",
                          "object-select", "done.png");
    dayToolbarDelete =
        make("dayToolbarDelete", "Delete", "Delete task", "edit-delete", "delete.png");
    toggleAlarm = make("toggleAlarmAction", "Toggle alarm", "Toggle alarm (yes/no)",
                       "alarm-symbolic", "alarm.png");
    dayMenuAdd = make("dayMenuAdd", "Add");
    dayMenuEdit = make("dayMenuEdit", "Edit");
    dayMenuDone = make("dayMenuDone", "Mark as completed");
    dayMenuDelete = make("dayMenuDelete", "Delete");

    // The to-do list
    todoToolbarAdd = make("todoToolbarAdd", "Add", "Add new", "list-add", "add.png");
    todoToolbarEdit = make("todoToolbarEdit", "Edit", "Edit task", "document-edit", "edit.png");
    todoToolbarDone = make("todoToolbarDone", "Mark as completed", "Mark as completed",
                           "object-select", "done.png");
    todoToolbarDelete = make("todoToolbarDelete", "Delete", "Delete", "edit-delete", "delete.png");
    todoMenuAdd = make("todoMenuAdd", "Add");
    todoMenuEdit = make("todoMenuEdit", "Edit");
    todoMenuDone = make("todoMenuDone", "Mark as completed");
    todoMenuDelete = make("todoMenuDelete", "Delete");

    // Output
    print = make("printAction", "Print", "Print", "document-print", "print.png");
    printTodo = make("printTodoAction", "Print", "Print tasks", "document-print", "print.png");
    printDay = make("printDayAction", "Print", "Print date tasks", "document-print", "print.png");
    exportDailyHtml = make("exportDailyHtmlAction", "HTML Format");
    exportDailyCsv = make("exportDailyCsvAction", "Comma-Delimited Format");
    exportTodoHtml = make("exportTodoHtmlAction", "HTML Format");
    exportTodoCsv = make("exportTodoCsvAction", "Comma Delimited Format");
    dayMenuExportHtml = make("dayMenuExportHtml", "HTML Format");
    dayMenuExportCsv = make("dayMenuExportCsv", "CSV Format");
    todoMenuExportHtml = make("todoMenuExportHtml", "HTML Format");
    todoMenuExportCsv = make("todoMenuExportCsv", "CSV Format");
    publishWebPage = make("publishWebPageAction", "Publish Calendar as Web Page",
                          "Publish calendar as web page", "text-html", "web.png");
    completedTasks = make("completedTasksAction", "View Completed Tasks", "View Completed Tasks",
                          "view-list-details", "completed.png");
    exportIcal = make("exportIcalAction", "iCalendar (.ics)",
                      "Write every task, to-do task and holiday as an iCalendar file");
    importIcal = make("importIcalAction", "iCalendar (.ics)",
                      "Add the events and to-do tasks of an iCalendar file");

    // Holidays
    holidays = make("holidaysAction", "Holidays", "Holidays", "x-office-calendar", "holidays.png");
    holidays->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));

    // All the tasks at once
    archive = make("archiveAction", "Archive current data", "Archive", "package-x-generic",
                   "archive.png");
    restore = make("restoreAction", "Restore old data");
    clearAll = make("clearAllAction", "Clear all data");

    // Sync
    synchronise = make("synchroniseAction", "Synchronise now",
                       "Send and receive the changes of the calendar server");
}

QAction* MainActions::make(const char* name, const QString& text, const QString& hint,
                           const char* theme, const char* iconFile) {
    auto* a = new QAction(text, window_);
    a->setObjectName(name);
    if (!hint.isEmpty())
        a->setToolTip(hint);
    // Themed icons where the desktop has them, the bundled ones elsewhere.
    if (iconFile)
        a->setIcon(QIcon::fromTheme(theme, QIcon(QString(":/icons/") + iconFile)));
    // The shortcut works wherever the focus is in the window.
    window_->addAction(a);
    all_.append(a);
    return a;
}

} // namespace dw
