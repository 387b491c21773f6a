#include "app/shell/key_navigation.h"

#include "app/calendar/calendar_pane.h"
#include "app/calendar/hover_summary.h"
#include "app/editing/task_commands.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/widgets/cell_grid.h"
#include "core/dates/date_format.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace dw {

namespace {

// Arrows with Ctrl or Alt belong to the controls (word steps and the like).
bool plainKey(const QKeyEvent* e) {
    const Qt::KeyboardModifiers m = e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    return m == Qt::NoModifier;
}

} // namespace

KeyNavigation::KeyNavigation(QWidget& window, const Views& views, TaskCommands& commands,
                             HoverSummary& hover, AppState& state)
    : QObject(&window), window_(window), views_(views), commands_(commands), hover_(hover),
      state_(state) {}

bool KeyNavigation::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (t != QEvent::KeyPress && t != QEvent::KeyRelease && t != QEvent::ShortcutOverride)
        return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != &window_)
        return false;
    // A key a control leaves alone travels on to its parents: act on it once, where it
    // first arrives.
    QWidget* focus = QApplication::focusWidget();
    if (w != (focus ? focus : &window_))
        return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (t == QEvent::ShortcutOverride) {
        if (!isNavigationShortcut(key))
            return false;
        // Not taken by the control: the shortcut runs.
        key->ignore();
        return true;
    }
    if (t == QEvent::KeyPress)
        return keyPressed(w, key);
    keyReleased(w, key);
    return false;
}

bool KeyNavigation::keyPressed(QWidget* focus, QKeyEvent* e) {
    hover_.hideSummary();
    if (!plainKey(e))
        return false;
    CalendarPane* calendars = views_.calendars;
    const bool inNotes = focus == views_.notesPane;
    const bool inDayView = focus == views_.gridDay;
    switch (e->key()) {
    case Qt::Key_Left:
        if (inNotes)
            return false;
        calendars->stepDays(-1);
        return true;
    case Qt::Key_Right:
        if (inNotes)
            return false;
        calendars->stepDays(1);
        return true;
    case Qt::Key_Up:
        if (!inDayView || !onFirstOrLastTask(true))
            return false;
        calendars->stepDays(-7);
        return true;
    case Qt::Key_Down:
        if (!inDayView || !onFirstOrLastTask(false))
            return false;
        calendars->stepDays(7);
        return true;
    default:
        return false;
    }
}

bool KeyNavigation::onFirstOrLastTask(bool first) const {
    const int rows = state_.store().gridDay().rowCount();
    if (rows < 3)
        return true;
    return views_.gridDay->selectedRow() == (first ? 1 : rows - 1);
}

void KeyNavigation::keyReleased(QWidget* focus, QKeyEvent* e) {
    // A held key repeats its press, not its release.
    if (e->isAutoRepeat())
        return;
    // With Ctrl or Shift these keys are the Edit menu's own commands.
    const bool bare = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool inDayView = focus == views_.gridDay;
    const bool inTodo = focus == views_.gridNonday;
    if (bare && (inDayView || inTodo)) {
        if (e->key() == Qt::Key_Insert)
            commands_.addTask(inDayView ? CommandSource::dayToolbarAdd
                                        : CommandSource::todoToolbarAdd);
        else if (e->key() == Qt::Key_Delete)
            commands_.deleteTask(inDayView ? CommandSource::dayToolbarDelete
                                           : CommandSource::todoToolbarDelete);
    }
    // The status clock puts the time back at its next tick.
    views_.statusLabel->setText("Today is " + QString::fromStdString(formatDateTime(
                                                  "dddddd", state_.clock().now(), state_.fs())));
}

bool KeyNavigation::isNavigationShortcut(const QKeyEvent* e) const {
    const QKeySequence pressed(e->keyCombination());
    for (const QAction* a : views_.actions->navigation())
        if (a->isEnabled() && a->shortcuts().contains(pressed))
            return true;
    return false;
}

} // namespace dw
