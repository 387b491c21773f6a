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
    if (sized_)
        apply();
}

void PaneSplitter::apply() {
    if (!bothPanesShown()) {
        waiting_ = true;
        return;
    }
    waiting_ = false;
    const int total = span();
    const int first = std::min(position_, total);
    setSizes({first, total - first});
}

void PaneSplitter::remember() {
    if (sized_ && !waiting_ && bothPanesShown())
        position_ = sizes().first();
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
