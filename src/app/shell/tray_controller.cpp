#include "app/shell/tray_controller.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace dw {

TrayController::TrayController(QMainWindow& window, std::function<void()> saveBeforeHiding)
    : QObject(&window), window_(window), saveBeforeHiding_(std::move(saveBeforeHiding)) {
    icon_ = new QSystemTrayIcon(window.windowIcon(), this);
    icon_->setObjectName("trayIcon");
    icon_->setToolTip("Right click to open");
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason) { bringBack(); });
    // Some notification areas answer a right click only with a menu: it opens the window
    // too, and offers the way out without opening it first.
    auto* menu = new QMenu(&window);
    menu->setObjectName("trayMenu");
    QAction* open = menu->addAction("Open Dayweaver", this, [this] { bringBack(); });
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    menu->addSeparator();
    menu->addAction("Exit", &window, [&window] { window.close(); });
    icon_->setContextMenu(menu);
    available_ = QSystemTrayIcon::isSystemTrayAvailable();
    if (available_)
        icon_->show();
}

void TrayController::hideToTray() {
    saveBeforeHiding_();
    if (available_) {
        window_.hide();
    } else {
        savedByHide_ = true;
        window_.showMinimized();
        savedByHide_ = false;
    }
}

void TrayController::windowStateChanged() {
    if (!window_.isMinimized() || closing_)
        return;
    if (!savedByHide_)
        saveBeforeHiding_();
    if (available_) {
        // Hiding in the middle of the state change confuses some window managers.
        QTimer::singleShot(0, this, [this] {
            if (window_.isMinimized())
                window_.hide();
        });
    }
}

void TrayController::bringBack() {
    if (closing_)
        return;
    if (window_.isMinimized())
        window_.showNormal();
    else
        window_.show();
    window_.raise();
    window_.activateWindow();
}

void TrayController::startInTray() {
    if (!available_)
        window_.showMinimized();
}

} // namespace dw
