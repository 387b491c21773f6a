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
    // Sets the position, a pane hidden by it or not (the commands that give one pane all the
    // room hide the other).
    void setPosition(int pixels);
    // A position read back from the settings: one that would hide a pane is not applied, so
    // a pane lost in an earlier run comes back.
    void restorePosition(int pixels);
    // The position to keep for the next run: the current one, or, while it hides a pane,
    // the last one that showed both. A split that hides a pane is never kept.
    int keptPosition() const;
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
    bool hidesAPane(int position) const;
    void apply();
    void remember();

    int position_ = 0;
    bool positionSet_ = false; // else the panes keep the sizes the splitter gave them
    int shownPosition_ = 0;    // the last position that showed both panes (0: none yet)
    bool restoring_ = false;   // the position came from the settings before the size did
    bool sized_ = false;
    bool waiting_ = false; // a position waits for the second pane to show
    QColor barColor_;
};

} // namespace dw
