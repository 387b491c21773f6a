#include "app/shell/first_frame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace dw {

FirstFrameReport::FirstFrameReport(std::vector<QWidget*> watched, std::function<int()> taskCount,
                                   std::function<void()> whenShown, QObject* parent)
    : QObject(parent), waiting_(std::move(watched)), taskCount_(std::move(taskCount)),
      whenShown_(std::move(whenShown)) {
    for (QWidget* w : waiting_)
        w->installEventFilter(this);
    if (waiting_.empty()) {
        word_ = "hidden";
        QTimer::singleShot(0, this, [this] { report(); });
    }
}

bool FirstFrameReport::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Paint) {
        auto it = std::find(waiting_.begin(), waiting_.end(), watched);
        if (it != waiting_.end()) {
            (*it)->removeEventFilter(this);
            waiting_.erase(it);
            // The paint is under way: the frame holding it reaches the screen once the
            // backing store is flushed, after the event loop's current turn.
            if (waiting_.empty())
                QTimer::singleShot(0, this, [this] { report(); });
        }
    }
    return QObject::eventFilter(watched, e);
}

void FirstFrameReport::report() {
    if (reported_)
        return;
    reported_ = true;
    std::fprintf(stderr, "%s: %d tasks\n", word_, taskCount_ ? taskCount_() : 0);
    std::fflush(stderr);
    if (whenShown_)
        whenShown_();
}

bool firstFrameWanted() {
    return qEnvironmentVariableIsSet("DAYWEAVER_REPORT_SHOWN") || quitWhenShown();
}

bool quitWhenShown() {
    return qEnvironmentVariableIsSet("DAYWEAVER_QUIT_WHEN_IDLE");
}

} // namespace dw
