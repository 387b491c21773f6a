#pragma once

#include <QObject>
#include <vector>

namespace dw {

// Any number of triggers, each with an interval and an enabled flag, reported through one
// signal with the trigger's handle. Handles are 1, 2, 3, ... in creation order. Everything
// runs on the thread of the pool, one trigger at a time. Nothing polls: each enabled trigger
// holds a timer of its own at its interval, and none runs while every trigger rests, so an
// idle program sleeps until something is due.
class TimerPool : public QObject {
    Q_OBJECT
public:
    explicit TimerPool(QObject* parent = nullptr);

    // A new trigger; it starts counting at once when enabled.
    int addTrigger(int intervalMs, bool enabled = true);

    int count() const { return static_cast<int>(triggers_.size()); }
    int interval(int handle) const;
    bool isEnabled(int handle) const;
    // Enabling a running trigger leaves it alone; enabling a stopped one starts a full
    // interval from now.
    void setEnabled(int handle, bool enabled);
    void setInterval(int handle, int intervalMs);
    void disableAll();

signals:
    void allTriggers(int handle);

protected:
    void timerEvent(QTimerEvent* e) override;

private:
    struct Trigger {
        int interval = 0;
        int timerId = 0; // 0 while disabled
    };
    Trigger* find(int handle);
    const Trigger* find(int handle) const;

    std::vector<Trigger> triggers_;
};

} // namespace dw
