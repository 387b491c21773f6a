#include "app/shell/pane_layout.h"

#include "app/calendar/calendar_pane.h"
#include "app/shell/pane_splitter.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/timer_pool.h"
#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"

#include <QCursor>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace dw {

PaneLayout::PaneLayout(const Panes& panes, const FormatSettings& fs, QObject* parent)
    : QObject(parent), panes_(panes), fs_(fs) {}

void PaneLayout::setLayoutTrigger(TimerPool* pool, int trigger) {
    pool_ = pool;
    trigger_ = trigger;
}

int PaneLayout::pixelsPerInch() const {
    return panes_.gridDay->window()->logicalDpiX();
}

void PaneLayout::layoutGrids() {
    // Qt lays the panes out before the window hears of its new size, so the grids have
    // theirs already: no need to let pending events run first.
    resizeGridDay();
    resizeGridNonday();
}

void PaneLayout::onSplit1Moved() {
    panes_.calendars->resizeCalendars(panes_.split1->position(), panes_.split2->position());
    resizeGridDay();
}

void PaneLayout::onSplit2Moved() {
    // Qt has laid the panes out already: nothing pending to let run first.
    resizeGridDay();
    panes_.calendars->resizeCalendars(panes_.split1->position(), panes_.split2->position());
    resizeGridNonday();
}

int PaneLayout::widestTimeText() const {
    // The locale's time texts at a few telling times, in the grid's font, with the cell's
    // padding on both sides.
    const QFontMetrics fm(panes_.gridDay->font());
    int widest = 0;
    for (const DateSerial t : {timeFraction(0, 0), timeFraction(12, 59), timeFraction(23, 59)})
        widest = std::max(
            widest, fm.horizontalAdvance(QString::fromStdString(formatDateTime("t", t, fs_))));
    return widest + 2 * fm.averageCharWidth() + 4;
}

void PaneLayout::resizeGridDay() {
    CellGrid* g = panes_.gridDay;
    GridMeasures m{pixelsPerInch(),
                   g->width(),
                   g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g),
                   2 * g->frameWidth(),
                   g->needsVerticalScroll(),
                   widestTimeText(),
                   {}};
    for (const int c : {0, 1, 3, 4})
        m.fitWidths[c] = g->textFitWidth(c);
    const auto widths = dayColumnWidths(m);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        g->setColumnWidth(c, widths[c]);
        g->table().setColWidth(c, widths[c]);
    }
}

void PaneLayout::resizeGridNonday() {
    CellGrid* g = panes_.gridNonday;
    GridMeasures m{pixelsPerInch(), g->width(),
                   g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g),
                   2 * g->frameWidth(), g->needsVerticalScroll()};
    for (const int c : {0, 2})
        m.fitWidths[c] = g->textFitWidth(c);
    const auto widths = todoColumnWidths(m);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        g->setColumnWidth(c, widths[c]);
        g->table().setColWidth(c, widths[c]);
    }
}

void PaneLayout::startLayoutPass() {
    if (pool_)
        pool_->setEnabled(trigger_, true);
}

void PaneLayout::pointAtSplitter(PaneSplitter* s) {
    flashTarget_ = s;
    layoutPass_.startFlash();
    startLayoutPass();
    // The pointer goes to the middle of the bar, when that is on the screen.
    const QPoint local = s->orientation() == Qt::Horizontal ? QPoint(s->position(), s->height() / 2)
                                                            : QPoint(s->width() / 2, s->position());
    const QPoint global = s->mapToGlobal(local);
    QScreen* scr = s->screen();
    if (scr && global.x() < scr->geometry().width() && global.y() < scr->geometry().height())
        QCursor::setPos(scr, global);
}

void PaneLayout::onLayoutTick() {
    const LayoutTick tick = layoutTick(layoutPass_);
    if (tick.kind == LayoutTick::RunLayout)
        layoutGrids();
    else if (tick.kind == LayoutTick::PaintBar && flashTarget_)
        flashTarget_->setBarColor(toQColor(tick.color));
    if (tick.stopTrigger() && pool_)
        pool_->setEnabled(trigger_, false);
}

} // namespace dw
