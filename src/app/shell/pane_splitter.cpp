#include "app/shell/pane_splitter.h"

#include "app/widgets/win_color.h"

#include <QEvent>
#include <QResizeEvent>

namespace dw {

PaneSplitter::PaneSplitter(Qt::Orientation o, QWidget* parent)
    : QSplitter(o, parent), barColor_(toQColor(SysColor::ButtonFace)) {
    setChildrenCollapsible(true);
    connect(this, &QSplitter::splitterMoved, this, [this] { remember(); });
}

QSplitterHandle* PaneSplitter::createHandle() {
    QSplitterHandle* h = QSplitter::createHandle();
    h->setAutoFillBackground(true);
    QPalette pal = h->palette();
    pal.setColor(QPalette::Window, barColor_);
    h->setPalette(pal);
    return h;
}

int PaneSplitter::span() const {
    const int length = orientation() == Qt::Horizontal ? width() : height();
    return std::max(0, length - handleWidth());
}

bool PaneSplitter::bothPanesShown() const {
    return count() == 2 && !widget(0)->isHidden() && !widget(1)->isHidden();
}

int PaneSplitter::position() const {
    if (sized_ && !waiting_ && bothPanesShown())
        return sizes().first();
    return position_;
}

void PaneSplitter::setPosition(int pixels) {
    position_ = std::max(0, pixels);
    positionSet_ = true;
    // Before the splitter has its size only a position of nothing is known to hide a pane.
    if (!sized_ ? position_ > 0 : !hidesAPane(position_))
        shownPosition_ = position_;
    if (sized_)
        apply();
}

void PaneSplitter::restorePosition(int pixels) {
    if (pixels <= 0 || (sized_ && hidesAPane(pixels)))
        return;
    restoring_ = !sized_;
    setPosition(pixels);
}

int PaneSplitter::keptPosition() const {
    const int now = position();
    if (sized_ ? !hidesAPane(now) : now > 0)
        return now;
    return shownPosition_ > 0 ? shownPosition_ : now;
}

bool PaneSplitter::hidesAPane(int position) const {
    return position <= 0 || position >= span();
}

void PaneSplitter::apply() {
    if (!bothPanesShown()) {
        waiting_ = true;
        return;
    }
    waiting_ = false;
    if (!positionSet_)
        return;
    const int total = span();
    // A position restored before the splitter knew its size may prove too large for it:
    // the second pane then keeps the room the splitter gave it.
    if (restoring_ && position_ >= total) {
        restoring_ = false;
        return;
    }
    restoring_ = false;
    const int first = std::min(position_, total);
    setSizes({first, total - first});
}

void PaneSplitter::remember() {
    if (sized_ && !waiting_ && bothPanesShown()) {
        position_ = sizes().first();
        if (!hidesAPane(position_))
            shownPosition_ = position_;
    }
}

void PaneSplitter::resizeEvent(QResizeEvent* e) {
    QSplitter::resizeEvent(e);
    // A widget gets its first size just before it becomes visible; the show event below
    // then applies the position.
    if (isVisible() && sized_)
        remember();
}

void PaneSplitter::showEvent(QShowEvent* e) {
    QSplitter::showEvent(e);
    if (!sized_) {
        sized_ = true;
        apply();
    }
}

bool PaneSplitter::event(QEvent* e) {
    const bool handled = QSplitter::event(e);
    // A pane shown or hidden reaches the splitter as a layout request, after which the
    // splitter has shared the room out anew: put the first pane back at its position.
    if (e->type() == QEvent::LayoutRequest && waiting_ && sized_ && bothPanesShown())
        apply();
    return handled;
}

QColor PaneSplitter::barColor() const {
    return barColor_;
}

void PaneSplitter::setBarColor(const QColor& c) {
    barColor_ = c;
    for (int i = 1; i < count(); ++i) {
        QSplitterHandle* h = handle(i);
        QPalette pal = h->palette();
        pal.setColor(QPalette::Window, c);
        h->setPalette(pal);
        h->update();
    }
}

} // namespace dw
