#pragma once

#include <QColor>
#include <QLabel>

namespace dw {

// A caption drawn with a drop shadow: the text once in the shadow colour, shifted right
// and down by the depth, then in its own colour on top. Depth 0 draws no shadow.
class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit ShadowLabel(const QString& text = {}, QWidget* parent = nullptr);

    int shadowDepth() const { return depth_; }
    void setShadowDepth(int depth);
    QColor textColor() const { return color_; }
    void setTextColor(const QColor& c);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int depth_ = 1;
    QColor color_{0, 0, 128};
};

} // namespace dw
