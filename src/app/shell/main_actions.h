#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace dw {

// Every command of the main window as a QAction, made in one place with its text, shortcut,
// icon and hint, so that the menus, the toolbars, the context menus and the help list the
// same commands. The window places them; whoever runs a command connects to `triggered`.
// Each action's shortcut works wherever the focus is in the window.
class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QWidget* window);

    // File
    QAction* options = nullptr;
    QAction* categories = nullptr;
    QAction* hide = nullptr;
    QAction* exit = nullptr;
    QAction* find = nullptr;
    // Edit
    QAction* insertTask = nullptr;
    QAction* insertTodo = nullptr;
    QAction* editTask = nullptr;
    QAction* editTodo = nullptr;
    QAction* deleteTask = nullptr;
    QAction* deleteTodo = nullptr;
    // Navigate
    QAction* nextTask = nullptr;
    QAction* priorTask = nullptr;
    QAction* nextMonth = nullptr;
    QAction* priorMonth = nullptr;
    QAction* nextYear = nullptr;
    QAction* priorYear = nullptr;
    QAction* today = nullptr;
    // Resize
    QAction* calendarsWidth = nullptr;
    QAction* dayToTodo = nullptr;
    QAction* dayNotes = nullptr;
    QAction* maximizeDay = nullptr;
    QAction* maximizeTodo = nullptr;
    QAction* memorizeLayout = nullptr;
    QAction* restoreLayout = nullptr;
    // Help
    QAction* help = nullptr;
    QAction* about = nullptr;
    // Main toolbar
    QAction* hideCalendar = nullptr;
    // The task filter: a menu bar item and a toolbar button that show whether it is on
    QAction* filters = nullptr;
    QAction* filtersButton = nullptr;
    // The calendars' context menu: the hover summary on or off
    QAction* popupEnable = nullptr;
    QAction* popupDisable = nullptr;
    // The day view's toolbar and context menu
    QAction* dayToolbarAdd = nullptr;
    QAction* dayToolbarEdit = nullptr;
    QAction* dayToolbarDone = nullptr;
    QAction* dayToolbarDelete = nullptr;
    QAction* toggleAlarm = nullptr;
    QAction* dayMenuAdd = nullptr;
    QAction* dayMenuEdit = nullptr;
    QAction* dayMenuDone = nullptr;
    QAction* dayMenuDelete = nullptr;
    // The to-do list's toolbar and context menu
    QAction* todoToolbarAdd = nullptr;
    QAction* todoToolbarEdit = nullptr;
    QAction* todoToolbarDone = nullptr;
    QAction* todoToolbarDelete = nullptr;
    QAction* todoMenuAdd = nullptr;
    QAction* todoMenuEdit = nullptr;
    QAction* todoMenuDone = nullptr;
    QAction* todoMenuDelete = nullptr;

    // The actions whose shortcuts win over the focused control's own use of the key.
    const QList<QAction*>& navigation() const { return navigation_; }
    // Output: printing, export, the web page, the completed tasks
    QAction* print = nullptr;
    QAction* printTodo = nullptr;
    QAction* printDay = nullptr;
    QAction* exportDailyHtml = nullptr;
    QAction* exportDailyCsv = nullptr;
    QAction* exportTodoHtml = nullptr;
    QAction* exportTodoCsv = nullptr;
    QAction* dayMenuExportHtml = nullptr;
    QAction* dayMenuExportCsv = nullptr;
    QAction* todoMenuExportHtml = nullptr;
    QAction* todoMenuExportCsv = nullptr;
    QAction* publishWebPage = nullptr;
    QAction* completedTasks = nullptr;
    // iCalendar files: File > Export and File > Import
    QAction* exportIcal = nullptr;
    QAction* importIcal = nullptr;
    // Holidays
    QAction* holidays = nullptr;
    // Archive, restore and clearing of all the tasks
    QAction* archive = nullptr;
    QAction* restore = nullptr;
    QAction* clearAll = nullptr;
    // Two-way sync with the calendar server
    QAction* synchronise = nullptr;

    // Every action, in the order made.
    const QList<QAction*>& all() const { return all_; }

private:
    QAction* make(const char* name, const QString& text, const QString& hint = {},
                  const char* theme = nullptr, const char* iconFile = nullptr);

    QWidget* window_;
    QList<QAction*> all_;
    QList<QAction*> navigation_;
};

} // namespace dw
