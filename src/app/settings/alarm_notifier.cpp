#include "app/settings/alarm_notifier.h"

#include "app/settings/alarm_panel.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/tray_controller.h"
#include "app/shell/window_state.h"

#include <QSystemTrayIcon>

namespace dw {

AlarmNotifier::AlarmNotifier(QWidget& window, TrayController& tray, TimerSwitch panelColor,
                             WindowState& windowState, OptionsDialog* options, AppState& state)
    : QObject(&window), window_(window), tray_(tray), panelColor_(panelColor),
      windowState_(windowState), options_(options), state_(state) {
    panel_ = new AlarmPanel(&window);
    connect(panel_, &AlarmPanel::clicked, this, &AlarmNotifier::clearAlarm);
}

bool AlarmNotifier::alarmShowing() const {
    return panel_->isVisible() || windowState_.alarmBusy;
}

void AlarmNotifier::runCheck() {
    // A showing alarm (or a closing program) holds the checks back; the scheduler then
    // catches up with what fell due meanwhile at the first check after it is cleared.
    if (windowState_.alarmBusy)
        return;
    std::vector<AlarmAnnouncement> due = state_.alarms().check(state_.store(), state_.clock().now(),
                                                               state_.alarmSettings(), state_.fs());
    if (!due.empty())
        raiseAlarm(std::move(due));
}

void AlarmNotifier::raiseAlarm(std::vector<AlarmAnnouncement> due) {
    windowState_.alarmBusy = true;
    lastAnnounced_ = std::move(due);
    tray_.bringBack();
    panelColor_.setEnabled(true);
    playSound(true);
    const QString text = QString::fromStdString(alarmPanelText(lastAnnounced_));
    panel_->showOver(text);
    notifyDesktop();
    window_.raise();
    window_.activateWindow();
    emit alarmRaised(text);
}

void AlarmNotifier::notifyDesktop() {
    // The panel may sit on another workspace; the notification area tells wherever the
    // user is.
    lastNotification_ = QString::fromStdString(alarmNotificationText(lastAnnounced_));
    QSystemTrayIcon* icon = tray_.icon();
    if (tray_.available() && icon && QSystemTrayIcon::supportsMessages())
        icon->showMessage("Dayweaver alarm", lastNotification_, QSystemTrayIcon::Information,
                          60000);
}

void AlarmNotifier::flashPanel() {
    panel_->flash();
}

void AlarmNotifier::clearAlarm() {
    panelColor_.setEnabled(false);
    panel_->hide();
    playSound(false);
    windowState_.alarmBusy = false;
}

void AlarmNotifier::playSound(bool on) {
    if (playSound_) {
        playSound_(on);
        return;
    }
    if (options_)
        options_->playAlarmSound(on);
}

} // namespace dw
