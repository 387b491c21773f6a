#include "app/settings/alarm_panel.h"

#include "app/widgets/win_color.h"

#include <QEvent>
#include <QMouseEvent>

namespace dw {

AlarmPanel::AlarmPanel(QWidget* window) : QLabel(window) {
    setObjectName("alarmPanel");
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    QFont f("MS Sans Serif", 10);
    f.setBold(true);
    setFont(f);
    setFill(kLime);
    hide();
    window->installEventFilter(this);
}

void AlarmPanel::showOver(const QString& text) {
    setText(text);
    setGeometry(parentWidget()->rect());
    show();
    raise();
}

void AlarmPanel::flash() {
    setFill(fill_ == kLime ? kYellow : kLime);
}

void AlarmPanel::setFill(WinColor color) {
    fill_ = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

void AlarmPanel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

bool AlarmPanel::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && e->type() == QEvent::Resize && isVisible())
        setGeometry(parentWidget()->rect());
    return QLabel::eventFilter(watched, e);
}

} // namespace dw
