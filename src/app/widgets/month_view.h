#pragma once

#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/settings/options.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

class QPainter;
class QDropEvent;

namespace dw {

// A month calendar: the shown month as a grid of 6 x 7 day cells numbered 1 to 42 row by
// row, first column Sunday (or Monday), with the days of the neighbouring months around it.
// Its selected date is a DateSerial that may carry a time of day; the shown month is always
// the selected date's month. Cells are painted through an optional owner hook, which may
// only choose a cell's colours or draw the cell itself.
//
// Keys: Left/Right a day, Up/Down a week, Page Up/Down a month, Ctrl+Page Up/Down a year,
// Home/End the first and last day of the month. Clicks select days of the shown month only.
class MonthView : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { Lowered, Raised };

    struct CellStyle {
        QColor fore; // the day number
        QColor back; // the fill
        bool bold = false;
    };

    // What the draw hook gets for one cell. Before the call, style holds the control's own
    // look: the selected cell on the selected-cell colour, days of this month on button face,
    // neighbouring days grey (0x808080) on button face; defaultDraw is false and the painter
    // is clipped to the cell and carries the cell's font (already shrunk to fit). After the
    // call, with defaultDraw true the control fills the cell with style.back and draws the
    // day number in style.fore (with the today mark and the selection frame); with it false
    // the control draws nothing for the cell. Without a hook every cell is drawn the default
    // way. repaint() and update() draw every cell again through the hook.
    struct DrawCell {
        int cell;       // 1..42
        int date;       // whole-day serial
        int day;        // day of the month
        bool thisMonth; // false for the neighbouring months' days
        bool selected;
        QRect rect;
        QPainter& painter;
        CellStyle style;
        bool defaultDraw;
    };
    using DrawCellHandler = std::function<void(DrawCell&)>;

    explicit MonthView(QWidget* parent = nullptr);

    // --- The selected date and the shown month.
    DateSerial date() const { return date_; }
    // False until a date has been set.
    bool hasSelection() const { return hasSelection_; }
    int year() const;
    int month() const;

    // When d equals the selected date and a cell is selected, nothing happens. Otherwise the
    // control takes d, shows its month and selects its cell, then emits dateChanged,
    // monthChanged (when the month number differs) and yearChanged (when the year differs),
    // in that order. Dates outside the years 1 to 9999 are ignored.
    void setDate(DateSerial d);
    // Same day in the next or previous month or year, clamped to the target month's length;
    // the time of day is kept. Then as setDate.
    void nextMonth();
    void priorMonth();
    void nextYear();
    void priorYear();
    // setDate(date() + n days).
    void addDays(int n);

    // --- Cells.
    // The cell 1..42 under a point in widget coordinates, or -1.
    int cellAt(const QPoint& p) const;
    // The date of a cell: day 1 of the shown month plus n minus day 1's column (1..7).
    int dateOfCell(int n) const;
    // The cell showing a date, or -1 when it is not on the grid.
    int cellOfDate(int date) const;
    QRect cellRect(int n) const;

    // --- Look.
    // First column Monday instead of Sunday.
    void setMondayFirst(bool on);
    bool mondayFirst() const { return mondayFirst_; }
    // Weekday and month names.
    void setFormatSettings(const FormatSettings& fs);
    // Background of the selected cell; system colours allowed. While it is button face (the
    // look of a calendar that is not the active one) the selection is not framed, unless the
    // control has the keyboard focus.
    void setSelectedColor(WinColor c);
    WinColor selectedColor() const { return selectedColor_; }
    // The frame around the control.
    void setBevel(Bevel bevel, int width = 2);
    Bevel bevel() const { return bevel_; }
    void setWeekdayHeaderVisible(bool on);
    bool weekdayHeaderVisible() const { return header_; }
    // The month and year caption, drawn flat or raised.
    void setCaptionVisible(bool on);
    bool captionVisible() const { return caption_; }
    void setCaptionRaised(bool on);
    bool captionRaised() const { return captionRaised_; }
    void setCellBevels(bool on);
    bool cellBevels() const { return cellBevels_; }
    // Point sizes of the day numbers and of the selected day's number, in the widget's font
    // (the calendar font; 0 = that font's own size). A size that does not fit the cell
    // shrinks until it does; a roomy cell keeps the size asked for.
    void setDayFontSize(int points);
    int dayFontSize() const { return dayFontSize_; }
    void setSelectedFontSize(int points);
    int selectedFontSize() const { return selectedFontSize_; }
    // The date marked as today; without one, the system's current date.
    void setToday(std::optional<int> date);

    void setDrawCellHandler(DrawCellHandler handler);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A left click anywhere on the control, after a click on a day has selected it.
    void clicked();
    void dateChanged(DateSerial date);
    void monthChanged(int year, int month);
    void yearChanged(int year);
    void mouseMoved(const QPoint& pos);
    // A double click on a day of the shown month, after it has been selected.
    void cellDoubleClicked(int date);
    // Something was dropped on a cell (any cell, the neighbouring months' too). The drop is
    // accepted before the signal; the owner may still ignore it (event->ignore()). Drops
    // beside the cells are ignored.
    void cellDropped(int date, QDropEvent* event);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    struct Layout {
        QSize size;    // of the control when laid out
        QRect inner;   // inside the frame
        QRect caption; // empty when hidden
        QRect header;  // empty when hidden
        QRect grid;
        QFont captionFont;
        QFont headerFont;
        QFont dayFont;
        QFont selectedFont;
        int headerChars = 0; // how many letters of the short weekday names fit; 0 = all
    };

    const Layout& layout() const;
    void invalidateLayout();
    int firstColumn() const;     // the column 1..7 of day 1
    int gridLeft(int col) const; // col 0..7
    int gridTop(int row) const;  // row 0..6
    int todayDate() const;
    bool selectionShown() const;
    void moveTo(int wholeDay, double fraction);
    void paintCell(QPainter& p, int n);
    void paintTodayMark(QPainter& p, const QRect& r, const QRect& ink, const CellStyle& style,
                        bool framed);
    void paintCaption(QPainter& p);
    void paintHeader(QPainter& p);

    DateSerial date_ = 0;
    bool hasSelection_ = false;
    int shownYear_ = 2000;
    int shownMonth_ = 1;
    bool mondayFirst_ = false;
    FormatSettings fs_ = FormatSettings::enUS();
    WinColor selectedColor_ = 0x80000014; // button highlight
    Bevel bevel_ = Bevel::Lowered;
    int bevelWidth_ = 2;
    bool header_ = true;
    bool caption_ = true;
    bool captionRaised_ = true;
    bool cellBevels_ = false;
    int dayFontSize_ = 0; // 0: the widget font's size
    int selectedFontSize_ = 0;
    std::optional<int> today_;
    DrawCellHandler drawCell_;
    bool pressed_ = false;
    mutable std::optional<Layout> layout_;
};

} // namespace dw
