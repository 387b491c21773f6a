#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace dw {

// Tells when the window's first real frame is on screen: every watched widget (the month
// calendars and the day view) has painted once. Then it writes "shown: N tasks" on stderr
// for whoever started the program to measure or wait on (a benchmark, a test), and calls
// `whenShown`. With nothing to watch (a start in the tray) it writes "hidden: N tasks"
// once the event loop runs. Nothing is written unless the environment asks (firstFrameWanted).
class FirstFrameReport : public QObject {
    Q_OBJECT
public:
    FirstFrameReport(std::vector<QWidget*> watched, std::function<int()> taskCount,
                     std::function<void()> whenShown, QObject* parent = nullptr);

    bool reported() const { return reported_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void report();

    std::vector<QWidget*> waiting_;
    std::function<int()> taskCount_;
    std::function<void()> whenShown_;
    const char* word_ = "shown";
    bool reported_ = false;
};

// Whether this start reports its first frame: DAYWEAVER_REPORT_SHOWN or
// DAYWEAVER_QUIT_WHEN_IDLE (which then ends the program once the frame is shown) is set.
bool firstFrameWanted();
bool quitWhenShown();

} // namespace dw
