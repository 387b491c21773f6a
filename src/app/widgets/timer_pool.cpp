#include "app/widgets/timer_pool.h"

#include <QTimerEvent>

namespace dw {

TimerPool::TimerPool(QObject* parent) : QObject(parent) {}

TimerPool::Trigger* TimerPool::find(int handle) {
    if (handle < 1 || handle > count())
        return nullptr;
    return &triggers_[static_cast<size_t>(handle - 1)];
}

const TimerPool::Trigger* TimerPool::find(int handle) const {
    return const_cast<TimerPool*>(this)->find(handle);
}

int TimerPool::addTrigger(int intervalMs, bool enabled) {
    triggers_.push_back({intervalMs, 0});
    const int handle = count();
    if (enabled)
        setEnabled(handle, true);
    return handle;
}

int TimerPool::interval(int handle) const {
    const Trigger* t = find(handle);
    return t ? t->interval : 0;
}

bool TimerPool::isEnabled(int handle) const {
    const Trigger* t = find(handle);
    return t && t->timerId != 0;
}

void TimerPool::setEnabled(int handle, bool enabled) {
    Trigger* t = find(handle);
    if (!t || enabled == (t->timerId != 0))
        return;
    if (enabled) {
        // Long intervals need no precision; short ones (the layout pass) do.
        t->timerId =
            startTimer(t->interval, t->interval >= 1000 ? Qt::CoarseTimer : Qt::PreciseTimer);
    } else {
        killTimer(t->timerId);
        t->timerId = 0;
    }
}

void TimerPool::setInterval(int handle, int intervalMs) {
    Trigger* t = find(handle);
    if (!t)
        return;
    t->interval = intervalMs;
    if (t->timerId != 0) {
        setEnabled(handle, false);
        setEnabled(handle, true);
    }
}

void TimerPool::disableAll() {
    for (int h = 1; h <= count(); ++h)
        setEnabled(h, false);
}

void TimerPool::timerEvent(QTimerEvent* e) {
    for (int h = 1; h <= count(); ++h) {
        if (triggers_[static_cast<size_t>(h - 1)].timerId == e->timerId()) {
            emit allTriggers(h);
            return;
        }
    }
    QObject::timerEvent(e);
}

} // namespace dw
