#include "app/editing/time_bar_widget.h"

#include "app/widgets/win_color.h"
#include "core/editing/time_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace dw {

namespace {

constexpr int kMarkerWidth = 11;
constexpr int kMarkerHeight = 6;
constexpr int kLineHeight = 32;

int hourX(int hour) {
    return kTimeBarMidnightX + kTimeBarPixelsPerHour * hour;
}

QString hourLabel(int hour) {
    if (hour % 24 == 0)
        return "M";
    return QString::number(hour % 12 == 0 ? 12 : hour % 12);
}

} // namespace

TimeBarWidget::TimeBarWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(kTimeBarWidth, kTimeBarHeight);
    setToolTip("Click to select time");
    setCursor(Qt::PointingHandCursor);
}

QSize TimeBarWidget::sizeHint() const {
    return {kTimeBarWidth, kTimeBarHeight};
}

void TimeBarWidget::setPointerX(int x) {
    if (x == pointerX_)
        return;
    pointerX_ = x;
    update();
}

void TimeBarWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    const int h = height();
    const QColor night = toQColor(kNightColor);
    const QColor day = toQColor(kDayColor);

    // The scale lies between the pointer's markers.
    const int top = kMarkerHeight;
    const int bottom = h - kMarkerHeight;
    p.fillRect(0, 0, w, h, palette().color(QPalette::Window));
    p.fillRect(0, top, w, bottom - top, night);
    p.fillRect(hourX(7), top, hourX(19) - hourX(7), bottom - top, day);
    p.setPen(Qt::darkGray);
    p.drawRect(0, top, w - 1, bottom - top - 1);

    // A tick every quarter hour: longest on the hour.
    p.setPen(Qt::black);
    for (int quarter = 0; quarter <= 96; ++quarter) {
        const int x = kTimeBarMidnightX + 5 * quarter;
        const int length = quarter % 4 == 0 ? 8 : (quarter % 2 == 0 ? 5 : 3);
        p.drawLine(x, top, x, top + length - 1);
    }
    // Sunrise and sunset at 7 a.m. and 7 p.m.
    p.setPen(QPen(QColor(0xC0, 0x60, 0x00), 1));
    for (const int hour : {7, 19})
        p.drawLine(hourX(hour), top, hourX(hour), bottom - 1);

    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    const QFontMetrics fm(small);
    for (int hour = 0; hour <= 24; ++hour) {
        QFont f = small;
        f.setBold(hour == 7 || hour == 19);
        p.setFont(f);
        p.setPen(Qt::black);
        const QString label = hourLabel(hour);
        const int textWidth = QFontMetrics(f).horizontalAdvance(label);
        p.drawText(hourX(hour) - textWidth / 2, bottom - 4 - fm.descent(), label);
    }

    if (pointerInRange(pointerX_)) {
        const int x = pointerX_;
        const int half = kMarkerWidth / 2;
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::red);
        QPolygon down;
        down << QPoint(x - half, 0) << QPoint(x + half, 0) << QPoint(x, kMarkerHeight - 1);
        p.drawPolygon(down);
        QPolygon up;
        up << QPoint(x - half, h - 1) << QPoint(x + half, h - 1) << QPoint(x, h - kMarkerHeight);
        p.drawPolygon(up);
        // The line starts on the top marker's bottom pixel row.
        p.fillRect(x, kMarkerHeight - 1, 1, kLineHeight, Qt::red);
    }
}

void TimeBarWidget::mousePressEvent(QMouseEvent* e) {
    emit pressed(qFloor(e->position().x()));
}

void TimeBarWidget::mouseMoveEvent(QMouseEvent* e) {
    emit dragged(qFloor(e->position().x()));
}

void TimeBarWidget::mouseReleaseEvent(QMouseEvent* e) {
    emit released(qFloor(e->position().x()));
}

void TimeBarWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    emit doubleClicked(qFloor(e->position().x()));
}

QPixmap sunMark(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    p.setPen(QPen(QColor(0xE0, 0x80, 0x00), 1.2));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * size * 0.3,
                   c + QPointF(std::cos(a), std::sin(a)) * size * 0.48);
    }
    p.setBrush(QColor(0xFF, 0xC0, 0x00));
    p.drawEllipse(c, size * 0.22, size * 0.22);
    return pm;
}

QPixmap moonMark(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath full;
    full.addEllipse(QPointF(size / 2.0, size / 2.0), size * 0.42, size * 0.42);
    QPainterPath bite;
    bite.addEllipse(QPointF(size * 0.68, size * 0.38), size * 0.36, size * 0.36);
    p.setPen(QPen(QColor(0x40, 0x40, 0x80), 1));
    p.setBrush(QColor(0xF0, 0xE8, 0x90));
    p.drawPath(full.subtracted(bite));
    return pm;
}

} // namespace dw
