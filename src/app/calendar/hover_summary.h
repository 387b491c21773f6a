#pragma once

#include "app/widgets/timer_switch.h"
#include "core/calendar/hover_summary.h"

#include <QFrame>
#include <QList>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QToolBar;

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class MainActions;
class OptionsDialog;
class PaneSplitter;
class ShadowLabel;
struct WindowState;

// The summary of a day that comes up over the day view when the pointer rests on the day
// in one of the four calendars: the date, how far it is from today, its holiday and its
// tasks, pending and completed. Mouse moves over the calendars arm a countdown on the hover
// trigger; moves over the day pane, the to-do pane, the toolbar or the summary itself, a
// key press and a click on a calendar hide it. The calendars' context menu switches it on
// and off.
class HoverSummary : public QFrame {
    Q_OBJECT
public:
    // The main window's controls the summary comes up over or hides at.
    struct Views {
        QWidget* window = nullptr;
        const MainActions* actions = nullptr;
        CalendarPane* calendars = nullptr;
        // Its right side, the day panel, is where the summary comes up.
        PaneSplitter* split1 = nullptr;
        ShadowLabel* dateCaption = nullptr;
        CellGrid* gridDay = nullptr;
        QPlainTextEdit* notesPane = nullptr;
        ShadowLabel* todoCaption = nullptr;
        CellGrid* gridNonday = nullptr;
        QToolBar* mainToolBar = nullptr;
    };

    // `hoverTrigger` is the countdown's trigger; the window's alarm busy flag holds the
    // summary back; the options window saves the options when there is one.
    HoverSummary(const Views& views, TimerSwitch hoverTrigger, const WindowState& windowState,
                 OptionsDialog* options, AppState& state);

    // The pointer moved over calendar index (0..3), at pos in its coordinates.
    void onMouseMoved(int calendarIndex, const QPoint& pos);
    // The hover trigger: counts down; fills and shows the summary when it reaches 0.
    void tick();
    void hideSummary();

    // The two menu commands; each saves every option.
    void enableSummary();
    void disableSummary();
    // Ticks the menu item matching the option.
    void syncMenu();

    const HoverTracker& tracker() const { return tracker_; }
    QLabel* dateLabel() const { return dateLabel_; }
    QLabel* whenLabel() const { return whenLabel_; }
    // The summary's lines as shown.
    const std::vector<std::string>& lines() const { return lines_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void fill();
    void watchForHiding(QWidget* w);
    void saveOptions();

    Views views_;
    TimerSwitch hoverTrigger_;
    const WindowState& windowState_;
    OptionsDialog* options_;
    AppState& state_;
    HoverTracker tracker_;
    QLabel* dateLabel_;
    QLabel* whenLabel_;
    QPlainTextEdit* list_;
    std::vector<std::string> lines_;
    QList<QObject*> hidingWidgets_;
};

} // namespace dw
