#include "app/editing/day_of_month_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace dw {

DayOfMonthGrid::DayOfMonthGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void DayOfMonthGrid::setFlagged(int day, bool on) {
    if (day < 1 || day > 31 || isFlagged(day) == on)
        return;
    flags_[static_cast<std::size_t>(day - 1)] = on;
    update();
    emit flagsChanged();
}

int DayOfMonthGrid::dayOfCell(int row, int column) {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
        return 0;
    const int day = row * kColumns + column + 1;
    return day <= 31 ? day : 0;
}

int DayOfMonthGrid::cellWidth() const {
    return fontMetrics().horizontalAdvance("00") + 10;
}

int DayOfMonthGrid::cellHeight() const {
    return fontMetrics().height() + 6;
}

QRect DayOfMonthGrid::cellRect(int row, int column) const {
    return {column * cellWidth(), row * cellHeight(), cellWidth(), cellHeight()};
}

QSize DayOfMonthGrid::sizeHint() const {
    return {kColumns * cellWidth() + 1, kRows * cellHeight() + 1};
}

void DayOfMonthGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QRect r = cellRect(row, column);
            const int day = dayOfCell(row, column);
            const bool on = day > 0 && isFlagged(day);
            p.fillRect(r, on ? Qt::black : Qt::white);
            p.setPen(QColor(0xC0, 0xC0, 0xC0));
            p.drawRect(r);
            if (day == 0)
                continue;
            p.setPen(on ? Qt::white : Qt::black);
            // The number 2 pixels right of and below the cell's corner.
            p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(day));
            if (day == current_ && hasFocus()) {
                p.setPen(QPen(on ? Qt::white : Qt::black, 1, Qt::DotLine));
                p.drawRect(r.adjusted(1, 1, -2, -2));
            }
        }
    }
}

void DayOfMonthGrid::select(int day) {
    current_ = day;
    setFlagged(day, !isFlagged(day));
}

void DayOfMonthGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (at.x() < 0 || at.y() < 0)
        return;
    const int day = dayOfCell(at.y() / cellHeight(), at.x() / cellWidth());
    if (day > 0)
        select(day);
}

void DayOfMonthGrid::keyPressEvent(QKeyEvent* e) {
    int row = (current_ - 1) / kColumns;
    int column = (current_ - 1) % kColumns;
    switch (e->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    // Blank cells and the outside cannot be selected: the move is refused.
    if (const int day = dayOfCell(row, column); day > 0)
        select(day);
    e->accept();
}

} // namespace dw
