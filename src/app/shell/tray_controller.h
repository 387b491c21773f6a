#pragma once

#include <QObject>
#include <functional>

class QMainWindow;
class QSystemTrayIcon;

namespace dw {

// The notification-area icon and the window's trips to it and back. Hiding saves the task
// files first. Without a notification area hiding minimises instead, so the window is never
// out of reach.
class TrayController : public QObject {
    Q_OBJECT
public:
    // `saveBeforeHiding` runs before the window leaves the screen, whatever hides it.
    TrayController(QMainWindow& window, std::function<void()> saveBeforeHiding);

    QSystemTrayIcon* icon() const { return icon_; }
    bool available() const { return available_; }
    void setAvailable(bool available) { available_ = available; }

    // Saves, then hides the window to the tray (or minimises it).
    void hideToTray();
    // Shows the window again, restored when it was minimised, in front and active.
    void bringBack();
    // Start-up in the tray: the window is not shown, or shown minimised without a tray.
    void startInTray();
    // From the window's state change: a minimised window saves and goes to the tray.
    void windowStateChanged();
    // Once the window is closing nothing brings it back or hides it.
    void setClosing() { closing_ = true; }

private:
    QMainWindow& window_;
    std::function<void()> saveBeforeHiding_;
    QSystemTrayIcon* icon_ = nullptr;
    bool available_ = false;
    bool closing_ = false;
    bool savedByHide_ = false;
};

} // namespace dw
