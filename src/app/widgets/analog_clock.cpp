#include "app/widgets/analog_clock.h"

#include <QPainter>
#include <algorithm>

namespace dw {

AnalogClock::AnalogClock(QWidget* parent) : QWidget(parent) {
    setMinimumSize(60, 60);
}

QSize AnalogClock::sizeHint() const {
    return {90, 90};
}

void AnalogClock::setTime(const QTime& t) {
    // Seconds are not shown, so only a new minute needs a repaint.
    const QTime minute(t.hour(), t.minute());
    if (minute == time_)
        return;
    time_ = minute;
    update();
}

void AnalogClock::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 200.0, side / 200.0);

    p.setPen(QPen(palette().color(QPalette::Dark), 3));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(QPointF(0, 0), 96, 96);

    p.setPen(QPen(palette().color(QPalette::Text), 3));
    for (int i = 0; i < 12; ++i) {
        p.drawLine(0, -88, 0, i % 3 == 0 ? -72 : -80);
        p.rotate(30);
    }
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    for (int i = 0; i < 60; ++i) {
        if (i % 5 != 0)
            p.drawLine(0, -88, 0, -84);
        p.rotate(6);
    }

    const QColor hands = palette().color(QPalette::Text);
    p.setPen(Qt::NoPen);
    p.setBrush(hands);
    p.save();
    p.rotate(30.0 * (time_.hour() % 12 + time_.minute() / 60.0));
    p.drawConvexPolygon(QPolygonF{{-5, 8}, {5, 8}, {2, -50}, {-2, -50}});
    p.restore();
    p.save();
    p.rotate(6.0 * time_.minute());
    p.drawConvexPolygon(QPolygonF{{-4, 8}, {4, 8}, {1.5, -78}, {-1.5, -78}});
    p.restore();
    p.drawEllipse(QPointF(0, 0), 6, 6);
}

} // namespace dw
