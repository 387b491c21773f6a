#include "app/widgets/shadow_label.h"

#include <QPainter>

namespace dw {

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ShadowLabel::setShadowDepth(int depth) {
    depth_ = std::max(0, depth);
    updateGeometry();
    update();
}

void ShadowLabel::setTextColor(const QColor& c) {
    color_ = c;
    update();
}

QSize ShadowLabel::sizeHint() const { return QLabel::sizeHint() + QSize(depth_, depth_); }
QSize ShadowLabel::minimumSizeHint() const {
    return QLabel::minimumSizeHint() + QSize(depth_, depth_);
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    const QRect r = contentsRect().adjusted(0, 0, -depth_, -depth_);
    const int flags = static_cast<int>(alignment()) | Qt::TextSingleLine;
    if (depth_ > 0) {
        // A soft grey shadow reads on light and dark themes alike.
        QColor shadow = palette().color(QPalette::Shadow);
        shadow.setAlpha(70);
        p.setPen(shadow);
        p.drawText(r.translated(depth_, depth_), flags, text());
    }
    p.setPen(color_);
    p.drawText(r, flags, text());
}

} // namespace dw
