#pragma once

#include "app/widgets/timer_switch.h"
#include "core/settings/alarm_scheduler.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace dw {

class AlarmPanel;
class AppState;
class OptionsDialog;
class TrayController;
struct WindowState;

// The alarm as the user meets it: the check on the alarm trigger, the flashing panel over
// the main window, the sound, the desktop notification, the busy flag, and clearing. Which
// tasks are due is the core's AlarmScheduler; this object only shows what it answers.
class AlarmNotifier : public QObject {
    Q_OBJECT
public:
    // The panel shows over `window`, which the tray brings back for an alarm; `panelColor`
    // is the trigger of the panel's flashing; the busy flag is the window's; the options
    // window plays the sound.
    AlarmNotifier(QWidget& window, TrayController& tray, TimerSwitch panelColor,
                  WindowState& windowState, OptionsDialog* options, AppState& state);

    // The alarm trigger: unless an alarm is showing, asks which tasks are due now and
    // raises the alarm for them.
    void runCheck();
    // The panel-colour trigger.
    void flashPanel();
    // A click on the panel, or Hide: the panel goes, the sound stops, checks resume.
    void clearAlarm();

    bool alarmShowing() const;
    AlarmPanel* panel() const { return panel_; }
    // What the last alarm announced (for the notification and for tests).
    const std::vector<AlarmAnnouncement>& lastAnnounced() const { return lastAnnounced_; }
    const QString& lastNotification() const { return lastNotification_; }

    // Plays (on) or stops (off) the alarm sound; the options window's player by default.
    void setSoundPlayer(std::function<void(bool)> play) { playSound_ = std::move(play); }

signals:
    void alarmRaised(const QString& panelText);

private:
    void raiseAlarm(std::vector<AlarmAnnouncement> due);
    void notifyDesktop();
    void playSound(bool on);

    QWidget& window_;
    TrayController& tray_;
    TimerSwitch panelColor_;
    WindowState& windowState_;
    OptionsDialog* options_;
    AppState& state_;
    AlarmPanel* panel_ = nullptr;
    std::vector<AlarmAnnouncement> lastAnnounced_;
    QString lastNotification_;
    std::function<void(bool)> playSound_;
};

} // namespace dw
