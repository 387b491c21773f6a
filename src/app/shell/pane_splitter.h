#pragma once

#include <QSplitter>

namespace dw {

// A splitter of two panes whose position is the size of its first pane: the first pane
// keeps its size when the splitter grows or shrinks, a position set before the splitter
// has its real size is applied once it has, and while the second pane is hidden (the
// notes under the day view) the position is kept for when it shows again.
class PaneSplitter : public QSplitter {
    Q_OBJECT
public:
    PaneSplitter(Qt::Orientation o, QWidget* parent = nullptr);

    int position() const;
    void setPosition(int pixels);
    // The size both panes share: the splitter's length less its bar.
    int span() const;

    // The bar's colour (the layout trigger flashes it).
    QColor barColor() const;
    void setBarColor(const QColor& c);

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    QSplitterHandle* createHandle() override;

private:
    bool bothPanesShown() const;
    void apply();
    void remember();

    int position_ = 0;
    bool sized_ = false;
    bool waiting_ = false; // a position waits for the second pane to show
    QColor barColor_;
};

} // namespace dw
