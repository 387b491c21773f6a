#include "app/settings/color_sample.h"

#include "app/widgets/win_color.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace dw {

ColorSample::ColorSample(const QString& objectName, const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Click to change the colours");
    setMinimumSize(80, 22);
    restyle();
}

void ColorSample::setColors(WinColor foreground, WinColor background) {
    fg_ = foreground;
    bg_ = background;
    restyle();
}

void ColorSample::restyle() {
    // A thicker frame while focused, so keyboard users see where they are.
    const int border = hasFocus() ? 2 : 1;
    setStyleSheet(QString("QLabel { color: %1; background-color: %2; border: %3px solid %4; }")
                      .arg(toQColor(fg_).name(), toQColor(bg_).name())
                      .arg(border)
                      .arg(hasFocus() ? palette().color(QPalette::Highlight).name() : "gray"));
}

void ColorSample::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (rect().contains(e->position().toPoint()) && e->button() == Qt::LeftButton)
        emit clicked();
}

void ColorSample::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(e);
}

void ColorSample::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    restyle();
}

void ColorSample::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    restyle();
}

} // namespace dw
