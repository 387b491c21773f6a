#pragma once

#include "core/settings/options.h"

#include <QLabel>

namespace dw {

// A colour sample: its caption in the text colour on the fill colour. Clicking it (or
// Space/Enter while it has the focus) asks for new colours.
class ColorSample : public QLabel {
    Q_OBJECT
public:
    ColorSample(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
    void setColors(WinColor foreground, WinColor background);
    WinColor foreground() const { return fg_; }
    WinColor background() const { return bg_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void restyle();
    WinColor fg_ = 0;
    WinColor bg_ = 0x00FFFFFF;
};

} // namespace dw
