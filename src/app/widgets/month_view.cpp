#include "app/widgets/month_view.h"

#include "app/widgets/win_color.h"
#include "core/dates/month_step.h"

#include <QDate>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <qdrawutil.h>

namespace dw {

namespace {

constexpr WinColor kButtonFace = 0x8000000F;
const QColor kNeighbourGrey(0x80, 0x80, 0x80);

// The years a DateSerial can name on this calendar.
const int kFirstSerial = dateSerialOf(1, 1, 1);
const int kLastSerial = dateSerialOf(9999, 12, 31);

double pointSizeOf(const QFont& f, const QWidget* w) {
    if (f.pointSizeF() > 0)
        return f.pointSizeF();
    return f.pixelSize() * 72.0 / std::max(1, w->logicalDpiY());
}

// The largest size, at most `points`, at which `sample` fits a box of w x h pixels. Digits
// and capitals are measured by their ink, so the size is not spent on descenders.
QFont fitFont(QFont f, double points, int w, int h, const QString& sample) {
    double pt = std::max(1.0, points);
    for (;;) {
        f.setPointSizeF(pt);
        const QFontMetrics fm(f);
        const int inkHeight = fm.tightBoundingRect(sample).height();
        if ((inkHeight <= h && fm.horizontalAdvance(sample) <= w) || pt <= 1.0)
            return f;
        pt = std::max(1.0, pt - 0.5);
    }
}

// Text centred on its ink, so a number sits in the middle of the cell whatever the font's
// line spacing. Answers where the ink went.
QRect drawCentered(QPainter& p, const QRect& r, const QString& text) {
    const QFontMetrics fm(p.font());
    const QRect ink = fm.tightBoundingRect(text);
    const int x = r.left() + (r.width() - fm.horizontalAdvance(text)) / 2;
    const int y = r.top() + (r.height() - ink.height()) / 2 - ink.top();
    p.drawText(x, y, text);
    return ink.translated(x, y);
}

int colorDistance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

} // namespace

MonthView::MonthView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QDate now = QDate::currentDate();
    shownYear_ = now.year();
    shownMonth_ = now.month();
    date_ = dateSerialOf(now.year(), now.month(), now.day());
}

int MonthView::year() const {
    return shownYear_;
}
int MonthView::month() const {
    return shownMonth_;
}

void MonthView::setDate(DateSerial d) {
    if (!std::isfinite(d) || d <= kFirstSerial - 1 || d >= kLastSerial + 1)
        return;
    if (hasSelection_ && d == date_)
        return;
    const int oldYear = shownYear_;
    const int oldMonth = shownMonth_;
    const CivilDate c = decodeDate(d);
    date_ = d;
    hasSelection_ = true;
    shownYear_ = c.year;
    shownMonth_ = c.month;
    update();
    emit dateChanged(d);
    if (c.month != oldMonth)
        emit monthChanged(c.year, c.month);
    if (c.year != oldYear)
        emit yearChanged(c.year);
}

void MonthView::nextMonth() {
    setDate(dw::nextMonth(date_));
}
void MonthView::priorMonth() {
    setDate(dw::priorMonth(date_));
}
void MonthView::nextYear() {
    setDate(dw::nextYear(date_));
}
void MonthView::priorYear() {
    setDate(dw::priorYear(date_));
}

void MonthView::addDays(int n) {
    const long long whole = static_cast<long long>(wholeDays(date_)) + n;
    if (whole < kFirstSerial || whole > kLastSerial)
        return;
    moveTo(static_cast<int>(whole), dayFraction(date_));
}

void MonthView::moveTo(int wholeDay, double fraction) {
    // Before the epoch the time of day still counts forward within the day.
    setDate(wholeDay >= 0 ? wholeDay + fraction : wholeDay - fraction);
}

// ---------------------------------------------------------------------------------------
// Geometry

int MonthView::firstColumn() const {
    const int dow = dayOfWeek(dateSerialOf(shownYear_, shownMonth_, 1)); // 1 = Sunday
    return mondayFirst_ ? (dow + 5) % 7 + 1 : dow;
}

int MonthView::dateOfCell(int n) const {
    return dateSerialOf(shownYear_, shownMonth_, 1) + n - firstColumn();
}

int MonthView::cellOfDate(int date) const {
    const int n = date - dateSerialOf(shownYear_, shownMonth_, 1) + firstColumn();
    return n >= 1 && n <= 42 ? n : -1;
}

int MonthView::gridLeft(int col) const {
    const QRect& g = layout().grid;
    return g.left() + col * g.width() / 7;
}

int MonthView::gridTop(int row) const {
    const QRect& g = layout().grid;
    return g.top() + row * g.height() / 6;
}

QRect MonthView::cellRect(int n) const {
    if (n < 1 || n > 42)
        return {};
    const int row = (n - 1) / 7;
    const int col = (n - 1) % 7;
    return QRect(QPoint(gridLeft(col), gridTop(row)),
                 QPoint(gridLeft(col + 1) - 1, gridTop(row + 1) - 1));
}

int MonthView::cellAt(const QPoint& p) const {
    const QRect& g = layout().grid;
    if (!g.contains(p))
        return -1;
    int col = std::clamp((p.x() - g.left()) * 7 / std::max(1, g.width()), 0, 6);
    while (col < 6 && gridLeft(col + 1) <= p.x())
        ++col;
    while (col > 0 && gridLeft(col) > p.x())
        --col;
    int row = std::clamp((p.y() - g.top()) * 6 / std::max(1, g.height()), 0, 5);
    while (row < 5 && gridTop(row + 1) <= p.y())
        ++row;
    while (row > 0 && gridTop(row) > p.y())
        --row;
    return row * 7 + col + 1;
}

void MonthView::invalidateLayout() {
    layout_.reset();
    update();
}

const MonthView::Layout& MonthView::layout() const {
    // Keyed on the size as well: a hidden control gets no resize event.
    if (layout_ && layout_->size == size())
        return *layout_;
    Layout l;
    l.size = size();
    const int bw = bevelWidth_;
    l.inner = rect().adjusted(bw, bw, -bw, -bw);
    if (l.inner.width() < 7 || l.inner.height() < 6) {
        l.grid = l.inner.isValid() ? l.inner : QRect();
        layout_ = l;
        return *layout_;
    }

    const double basePt = pointSizeOf(font(), this);
    const double dayPt = dayFontSize_ > 0 ? dayFontSize_ : basePt;
    const double selPt = selectedFontSize_ > 0 ? selectedFontSize_ : basePt;

    // Caption and header take their natural height, but never more than a quarter of the
    // control between them: the day grid is what the user came for.
    QFont natural = font();
    natural.setPointSizeF(dayPt);
    const int lineH = QFontMetrics(natural).height();
    int capH = caption_ ? lineH + (captionRaised_ ? 8 : 6) : 0;
    int hdrH = header_ ? lineH + 5 : 0;
    const int maxExtra = l.inner.height() / 4;
    if (capH + hdrH > maxExtra) {
        const int total = capH + hdrH;
        capH = capH * maxExtra / total;
        hdrH = hdrH * maxExtra / total;
    }
    int top = l.inner.top();
    if (caption_) {
        l.caption = QRect(l.inner.left(), top, l.inner.width(), capH);
        top += capH;
    }
    if (header_) {
        l.header = QRect(l.inner.left(), top, l.inner.width(), hdrH);
        top += hdrH;
    }
    l.grid = QRect(l.inner.left(), top, l.inner.width(), l.inner.bottom() - top + 1);

    // Day numbers: fit the smallest cell, with a little air around the digits.
    const int cellW = l.grid.width() / 7;
    const int cellH = l.grid.height() / 6;
    const int airW = cellBevels_ ? 6 : 4;
    const int airH = cellH >= 14 ? std::max(3, cellH / 4) : 2;
    // Measured bold, since the draw hook may ask for bold on any cell.
    QFont bold = font();
    bold.setBold(true);
    l.dayFont = fitFont(bold, dayPt, cellW - airW, cellH - airH, "88");
    l.dayFont.setBold(false);
    l.selectedFont = fitFont(bold, selPt, cellW - airW, cellH - airH, "88");
    l.selectedFont.setBold(false);

    if (header_) {
        // The locale's short names when they fit the column, else their first letters.
        QFont hf = fitFont(font(), dayPt, l.grid.width(), std::max(1, hdrH - 3), "Mg");
        l.headerChars = 0;
        for (int chars : {0, 3, 2, 1}) {
            int widest = 0;
            const QFontMetrics fm(hf);
            for (const std::string& name : fs_.shortDayNames) {
                QString s = QString::fromStdString(name);
                if (chars > 0)
                    s = s.left(chars);
                widest = std::max(widest, fm.horizontalAdvance(s));
            }
            l.headerChars = chars;
            if (widest <= cellW - 2)
                break;
        }
        if (l.headerChars == 1)
            hf = fitFont(hf, hf.pointSizeF(), cellW - 2, std::max(1, hdrH - 3), "W");
        l.headerFont = hf;
    }
    if (caption_) {
        QFont cf = font();
        cf.setBold(true);
        l.captionFont =
            fitFont(cf, dayPt + 1, l.caption.width() - 8, capH - (captionRaised_ ? 6 : 4), "Mg");
    }
    layout_ = l;
    return *layout_;
}

// ---------------------------------------------------------------------------------------
// Look

void MonthView::setMondayFirst(bool on) {
    if (mondayFirst_ == on)
        return;
    mondayFirst_ = on;
    update();
}

void MonthView::setFormatSettings(const FormatSettings& fs) {
    fs_ = fs;
    invalidateLayout();
}

void MonthView::setSelectedColor(WinColor c) {
    selectedColor_ = c;
    update();
}

void MonthView::setBevel(Bevel bevel, int width) {
    bevel_ = bevel;
    bevelWidth_ = std::clamp(width, 0, 8);
    invalidateLayout();
}

void MonthView::setWeekdayHeaderVisible(bool on) {
    header_ = on;
    invalidateLayout();
}

void MonthView::setCaptionVisible(bool on) {
    caption_ = on;
    invalidateLayout();
}

void MonthView::setCaptionRaised(bool on) {
    captionRaised_ = on;
    invalidateLayout();
}

void MonthView::setCellBevels(bool on) {
    cellBevels_ = on;
    invalidateLayout();
}

void MonthView::setDayFontSize(int points) {
    dayFontSize_ = points;
    invalidateLayout();
}

void MonthView::setSelectedFontSize(int points) {
    selectedFontSize_ = points;
    invalidateLayout();
}

void MonthView::setToday(std::optional<int> date) {
    today_ = date;
    update();
}

void MonthView::setDrawCellHandler(DrawCellHandler handler) {
    drawCell_ = std::move(handler);
    update();
}

int MonthView::todayDate() const {
    if (today_)
        return *today_;
    const QDate now = QDate::currentDate();
    return dateSerialOf(now.year(), now.month(), now.day());
}

bool MonthView::selectionShown() const {
    return hasFocus() || toQColor(selectedColor_) != palette().color(QPalette::Button);
}

QSize MonthView::sizeHint() const {
    QFont f = font();
    if (dayFontSize_ > 0)
        f.setPointSizeF(dayFontSize_);
    const QFontMetrics fm(f);
    const int cellW = fm.horizontalAdvance("888") + 8;
    const int cellH = fm.height() + 8;
    const int extra = (caption_ ? fm.height() + 8 : 0) + (header_ ? fm.height() + 3 : 0);
    return {7 * cellW + 2 * bevelWidth_, 6 * cellH + extra + 2 * bevelWidth_};
}

QSize MonthView::minimumSizeHint() const {
    return {7 * 8 + 2 * bevelWidth_, 6 * 6 + 2 * bevelWidth_};
}

// ---------------------------------------------------------------------------------------
// Painting

void MonthView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    const Layout& l = layout();

    if (!l.caption.isEmpty())
        paintCaption(p);
    if (!l.header.isEmpty())
        paintHeader(p);
    if (l.grid.width() >= 7 && l.grid.height() >= 6)
        for (int n = 1; n <= 42; ++n)
            paintCell(p, n);

    if (bevelWidth_ == 2)
        qDrawWinPanel(&p, rect(), pal, bevel_ == Bevel::Lowered);
    else if (bevelWidth_ > 0)
        qDrawShadePanel(&p, rect(), pal, bevel_ == Bevel::Lowered, bevelWidth_);
}

void MonthView::paintCaption(QPainter& p) {
    const Layout& l = layout();
    const QPalette& pal = palette();
    QRect r = l.caption;
    if (captionRaised_) {
        r.adjust(1, 1, -1, -1);
        qDrawShadePanel(&p, r, pal, false, 1);
    } else {
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(r.left() + 2, r.bottom(), r.right() - 2, r.bottom());
    }
    const int m = std::clamp(shownMonth_, 1, 12) - 1;
    QFont f = l.captionFont;
    const QString longText =
        QString::fromStdString(fs_.longMonthNames[m]) + ' ' + QString::number(shownYear_);
    const QString shortText =
        QString::fromStdString(fs_.shortMonthNames[m]) + ' ' + QString::number(shownYear_);
    const int room = r.width() - 8;
    QString text = longText;
    if (QFontMetrics(f).horizontalAdvance(text) > room) {
        text = shortText;
        while (QFontMetrics(f).horizontalAdvance(text) > room && f.pointSizeF() > 1.0)
            f.setPointSizeF(std::max(1.0, f.pointSizeF() - 0.5));
    }
    p.setFont(f);
    p.setPen(pal.color(QPalette::ButtonText));
    p.save();
    p.setClipRect(r);
    drawCentered(p, r, text);
    p.restore();
}

void MonthView::paintHeader(QPainter& p) {
    const Layout& l = layout();
    const QPalette& pal = palette();
    p.setFont(l.headerFont);
    p.setPen(pal.color(QPalette::ButtonText));
    const QRect& h = l.header;
    for (int col = 0; col < 7; ++col) {
        const int weekday = mondayFirst_ ? (col + 1) % 7 : col; // 0 = Sunday
        QString name = QString::fromStdString(fs_.shortDayNames[static_cast<size_t>(weekday)]);
        if (l.headerChars > 0)
            name = name.left(l.headerChars);
        const QRect cell(QPoint(gridLeft(col), h.top()),
                         QPoint(gridLeft(col + 1) - 1, h.bottom() - 2));
        p.save();
        p.setClipRect(cell);
        drawCentered(p, cell, name);
        p.restore();
    }
    p.setPen(pal.color(QPalette::Mid));
    p.drawLine(h.left() + 2, h.bottom() - 1, h.right() - 2, h.bottom() - 1);
}

void MonthView::paintCell(QPainter& p, int n) {
    const Layout& l = layout();
    const QPalette& pal = palette();
    const QRect r = cellRect(n);
    const int date = dateOfCell(n);
    const CivilDate c = decodeDate(date);
    const bool thisMonth = c.year == shownYear_ && c.month == shownMonth_;
    const bool selected = hasSelection_ && thisMonth && date == wholeDays(date_);

    CellStyle style;
    style.back = selected ? toQColor(selectedColor_) : pal.color(QPalette::Button);
    style.fore = thisMonth ? toQColor(0x80000008) : kNeighbourGrey;
    const QFont cellFont = selected ? l.selectedFont : l.dayFont;

    bool defaultDraw = true;
    if (drawCell_) {
        p.save();
        p.setClipRect(r);
        p.setFont(cellFont);
        DrawCell dc{n, date, c.day, thisMonth, selected, r, p, style, false};
        drawCell_(dc);
        p.restore();
        style = dc.style;
        defaultDraw = dc.defaultDraw;
    }
    if (!defaultDraw)
        return;

    p.save();
    p.setClipRect(r);
    const bool framed = selected && selectionShown();
    if (cellBevels_ && r.width() > 4 && r.height() > 4) {
        const QBrush fill(style.back);
        qDrawShadePanel(&p, r.adjusted(1, 1, -1, -1), pal, framed, 1, &fill);
    } else {
        // A one-pixel gap keeps neighbouring marked days apart.
        p.fillRect(r.adjusted(1, 1, -1, -1), style.back);
    }

    QFont f = cellFont;
    f.setBold(style.bold);
    p.setFont(f);
    p.setPen(style.fore);
    const QRect ink = drawCentered(p, r, QString::number(c.day));

    if (framed) {
        QPen pen(pal.color(QPalette::Highlight), r.width() >= 16 && r.height() >= 12 ? 2 : 1);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const int w = pen.width();
        p.drawRect(
            QRectF(r).adjusted(w / 2.0 + 0.5, w / 2.0 + 0.5, -w / 2.0 - 0.5, -w / 2.0 - 0.5));
    }
    if (date == todayDate() && thisMonth)
        paintTodayMark(p, r, ink, style, framed);
    p.restore();
}

// Today: a small corner fold inside the selection frame, or where the cell is too narrow
// for one, a line under or over the number; a cell too cramped for either goes without.
void MonthView::paintTodayMark(QPainter& p, const QRect& r, const QRect& ink,
                               const CellStyle& style, bool framed) {
    QColor mark = palette().color(QPalette::Highlight);
    if (colorDistance(mark, style.back) < 120)
        mark = style.fore;
    const int inset =
        (framed ? (r.width() >= 16 && r.height() >= 12 ? 2 : 1) : 0) + (cellBevels_ ? 2 : 1);
    const int right = r.right() + 1 - inset;
    const int room = right - ink.right() - 2;
    const int s = std::min({room, r.height() / 3, 9});
    if (s >= 3) {
        const QPointF tr(right, r.top() + inset);
        QPainterPath fold;
        fold.moveTo(tr + QPointF(-s, 0));
        fold.lineTo(tr);
        fold.lineTo(tr + QPointF(0, s));
        fold.closeSubpath();
        p.setRenderHint(QPainter::Antialiasing, true);
        p.fillPath(fold, mark);
        p.setRenderHint(QPainter::Antialiasing, false);
    } else if (ink.bottom() + 2 <= r.bottom() - inset + 1) {
        p.fillRect(QRect(ink.left(), ink.bottom() + 2, ink.width(), 1), mark);
    } else if (ink.top() - 2 >= r.top() + inset) {
        p.fillRect(QRect(ink.left(), r.top() + inset, ink.width(), 1), mark);
    }
}

// ---------------------------------------------------------------------------------------
// Events

void MonthView::resizeEvent(QResizeEvent* e) {
    layout_.reset();
    QWidget::resizeEvent(e);
}

void MonthView::changeEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
        invalidateLayout();
        break;
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(e);
}

void MonthView::keyPressEvent(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const CivilDate c = decodeDate(date_);
    switch (e->key()) {
    case Qt::Key_Left:
        addDays(-1);
        break;
    case Qt::Key_Right:
        addDays(1);
        break;
    case Qt::Key_Up:
        addDays(-7);
        break;
    case Qt::Key_Down:
        addDays(7);
        break;
    case Qt::Key_PageUp:
        ctrl ? priorYear() : priorMonth();
        break;
    case Qt::Key_PageDown:
        ctrl ? nextYear() : nextMonth();
        break;
    case Qt::Key_Home:
        addDays(1 - c.day);
        break;
    case Qt::Key_End:
        addDays(daysInMonth(c.month, c.year) - c.day);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}

void MonthView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    pressed_ = true;
    const int n = cellAt(e->position().toPoint());
    // Days of the neighbouring months are not selectable by clicking.
    if (n > 0 && decodeDate(dateOfCell(n)).month == shownMonth_)
        moveTo(dateOfCell(n), dayFraction(date_));
}

void MonthView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    pressed_ = false;
    if (rect().contains(e->position().toPoint()))
        emit clicked();
}

void MonthView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(e);
        return;
    }
    const int n = cellAt(e->position().toPoint());
    if (n < 0)
        return;
    const int d = dateOfCell(n);
    if (decodeDate(d).month != shownMonth_)
        return;
    moveTo(d, dayFraction(date_));
    emit cellDoubleClicked(d);
}

void MonthView::mouseMoveEvent(QMouseEvent* e) {
    emit mouseMoved(e->position().toPoint());
    QWidget::mouseMoveEvent(e);
}

void MonthView::focusInEvent(QFocusEvent* e) {
    update();
    QWidget::focusInEvent(e);
}

void MonthView::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
}

// Any drag is welcome; what a drop means is the owner's business.
void MonthView::dragEnterEvent(QDragEnterEvent* e) {
    e->acceptProposedAction();
}

void MonthView::dragMoveEvent(QDragMoveEvent* e) {
    e->acceptProposedAction();
}

void MonthView::dropEvent(QDropEvent* e) {
    const int n = cellAt(e->position().toPoint());
    if (n < 0) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    emit cellDropped(dateOfCell(n), e);
}

} // namespace dw
