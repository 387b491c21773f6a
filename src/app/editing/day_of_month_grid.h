#pragma once

#include <QWidget>
#include <array>

namespace dw {

// The days 1 to 31 in 7 columns by 5 rows (the last four cells blank), each with an on/off
// flag. Selecting a day, by a click or by moving onto it with the arrow keys, toggles it; a
// click on the current day toggles it again. Flagged days are drawn white on black.
class DayOfMonthGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 5;

    explicit DayOfMonthGrid(QWidget* parent = nullptr);

    // Index 0 = day 1.
    const std::array<bool, 31>& flags() const { return flags_; }
    bool isFlagged(int day) const { return flags_[static_cast<std::size_t>(day - 1)]; }
    void setFlagged(int day, bool on);
    // The current day: the cell the arrow keys move from (day 1 at first, not flagged).
    int currentDay() const { return current_; }

    // The day a cell stands for, 0 for the blank cells.
    static int dayOfCell(int row, int column);
    QRect cellRect(int row, int column) const;

    QSize sizeHint() const override;

signals:
    void flagsChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void select(int day);
    int cellWidth() const;
    int cellHeight() const;

    std::array<bool, 31> flags_{};
    int current_ = 1;
};

} // namespace dw
