#include "app/widgets/shadow_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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

QSize ShadowLabel::sizeHint() const {
    return QLabel::sizeHint() + QSize(depth_, depth_);
}
QSize ShadowLabel::minimumSizeHint() const {
    return QLabel::minimumSizeHint() + QSize(depth_, depth_);
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = contentsRect().adjusted(0, 0, -depth_, -depth_);
    // A caption wider than its pane is drawn smaller rather than cut off: the date and
    // its relative text must stay readable in a narrow window.
    QFont f = font();
    const int textWidth = QFontMetrics(f).horizontalAdvance(text());
    if (textWidth > r.width() && r.width() > 0 && f.pointSizeF() > 0) {
        const qreal fitted = f.pointSizeF() * r.width() / textWidth;
        f.setPointSizeF(std::max<qreal>(7.0, fitted * 0.98));
    }
    p.setFont(f);
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
