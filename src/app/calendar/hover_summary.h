#pragma once

#include "core/calendar/hover_summary.h"

#include <QFrame>
#include <QList>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace dw {

class AppState;
class MainWindow;

// The summary of a day that comes up over the day view when the pointer rests on the day
// in one of the four calendars: the date, how far it is from today, its holiday and its
// tasks, pending and completed. Mouse moves over the calendars arm a countdown on the hover
// trigger; moves over the day pane, the to-do pane, the toolbar or the summary itself, a
// key press and a click on a calendar hide it. The calendars' context menu switches it on
// and off.
class HoverSummary : public QFrame {
    Q_OBJECT
public:
    HoverSummary(MainWindow& window, AppState& state);

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

    MainWindow& window_;
    AppState& state_;
    HoverTracker tracker_;
    QLabel* dateLabel_;
    QLabel* whenLabel_;
    QPlainTextEdit* list_;
    std::vector<std::string> lines_;
    QList<QObject*> hidingWidgets_;
};

} // namespace dw
