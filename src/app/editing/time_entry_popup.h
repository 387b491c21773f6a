#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"

#include <QDialog>
#include <optional>

class QLabel;
class QPushButton;
class QTimeEdit;
class QTimer;

namespace dw {

class AnalogClock;
class TimeBarWidget;

// "Time Entry": picks a time of day by pointing at or dragging along a 24-hour bar (snapped
// to five minutes), with the arrow and page keys, by typing, or by taking the current time.
// The mapping rules are in core/editing/time_bar.h.
class TimeEntryPopup : public QDialog {
    Q_OBJECT
public:
    TimeEntryPopup(const FormatSettings& fs, const Clock& clock, QWidget* parent = nullptr);

    // The time to start from (a fraction of a day; its date part is ignored), or the current
    // time when there is none. Midnight is a time like any other.
    void setTime(std::optional<double> time);
    // The chosen time of day.
    double returnedTime() const;

    // Puts the pointer (and the drag label) on x when x is within the pointer's reach; with
    // setTime, the time read there becomes the popup's time.
    void drawPointer(int x, bool setTime);
    bool isDragging() const { return dragging_; }
    // "Now": the current time, the pointer and the clock on it.
    void takeNow();

    TimeBarWidget* timeBar = nullptr;
    QLabel* sunLabel = nullptr;
    QLabel* moonLabel = nullptr;
    QLabel* timeLabel = nullptr; // shows the time under the pointer while dragging
    QTimeEdit* timeField = nullptr;
    AnalogClock* clockFace = nullptr;
    QPushButton* nowButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QTimer* nowTimer = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void barPressed(int x);
    void barDragged(int x);
    void barReleased();
    void timeFieldChanged();
    // The pointer and the clock follow the field, the time unchanged.
    void followField();
    void refreshNowCaption();
    // Handles a stepping key; false for any other key.
    bool stepKey(int key);
    // A typed AM or PM marker letter sets the half of the day ("930p" is 9:30 PM).
    bool markerKey(const QString& typed);

    const FormatSettings& fs_;
    const Clock& clock_;
    bool dragging_ = false;
    bool settingTime_ = false;
    int lastX_ = -1;
};

} // namespace dw
