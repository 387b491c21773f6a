#pragma once

#include "core/settings/options.h"

#include <QLabel>

namespace dw {

// The flashing panel an alarm lays over the whole main window: bold text naming the
// task on lime, turning yellow and back on each flash. A click clears the alarm. It follows
// the window's size while it is shown.
class AlarmPanel : public QLabel {
    Q_OBJECT
public:
    static constexpr WinColor kLime = 0x0000FF00;
    static constexpr WinColor kYellow = 0x0000FFFF;

    explicit AlarmPanel(QWidget* window);

    // Covers the window in front of every other control, in lime.
    void showOver(const QString& text);
    // Lime becomes yellow, any other colour lime.
    void flash();
    WinColor fillColor() const { return fill_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void setFill(WinColor color);
    WinColor fill_ = kLime;
};

} // namespace dw
