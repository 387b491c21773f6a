#pragma once

#include <QPixmap>
#include <QWidget>

namespace dw {

// The popup's 24-hour bar, 495 by 42 pixels: midnight at x = 7, 20 pixels an hour, a tick
// every quarter hour, the night hours on light blue and the day on yellow, and the pointer
// (a marker at the top and at the bottom edge and a line between them) where it was put.
// It only paints and reports the mouse; the popup decides what a position means.
class TimeBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit TimeBarWidget(QWidget* parent = nullptr);

    int pointerX() const { return pointerX_; }
    void setPointerX(int x);

    QSize sizeHint() const override;

signals:
    void pressed(int x);
    void dragged(int x);
    void released(int x);
    void doubleClicked(int x);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int pointerX_ = -1;
};

// The marks below the bar: a sun for the morning, a moon for the evening.
QPixmap sunMark(int size);
QPixmap moonMark(int size);

} // namespace dw
