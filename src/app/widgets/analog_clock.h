#pragma once

#include <QTime>
#include <QWidget>

namespace dw {

// A round clock face with hour and minute hands; it shows the time it is given and has no
// second hand.
class AnalogClock : public QWidget {
    Q_OBJECT
public:
    explicit AnalogClock(QWidget* parent = nullptr);

    QTime time() const { return time_; }
    void setTime(const QTime& t);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QTime time_{0, 0};
};

} // namespace dw
