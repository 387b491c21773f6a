#pragma once

#include <QObject>

class QKeyEvent;
class QLabel;
class QWidget;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class HoverSummary;
class MainActions;
class TaskCommands;

// The main window's own key rules, applied before the focused control sees a key:
// - every key pressed hides the hover summary;
// - Left and Right move the selected date by a day wherever the focus is, except in the
//   notes pane, which keeps them for its caret;
// - Up on the day view's first task, or Down on its last (or either with one task or
//   none), moves the date by a week; elsewhere the day view moves its selection;
// - releasing Insert or Delete in the day view or the to-do list adds or deletes there;
// - every key released puts "Today is " and the long date in the status bar;
// - the Navigate and Find shortcuts win over a control's own use of the key.
class KeyNavigation : public QObject {
    Q_OBJECT
public:
    // The main window's controls the rules look at.
    struct Views {
        const MainActions* actions = nullptr;
        CalendarPane* calendars = nullptr;
        CellGrid* gridDay = nullptr;
        CellGrid* gridNonday = nullptr;
        QWidget* notesPane = nullptr;
        QLabel* statusLabel = nullptr;
    };

    KeyNavigation(QWidget& window, const Views& views, TaskCommands& commands, HoverSummary& hover,
                  AppState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool keyPressed(QWidget* focus, QKeyEvent* e);
    void keyReleased(QWidget* focus, QKeyEvent* e);
    bool isNavigationShortcut(const QKeyEvent* e) const;
    bool onFirstOrLastTask(bool first) const;

    QWidget& window_;
    Views views_;
    TaskCommands& commands_;
    HoverSummary& hover_;
    AppState& state_;
};

} // namespace dw
