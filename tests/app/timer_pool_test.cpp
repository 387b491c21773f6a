#include "app/widgets/timer_pool.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace dw {
namespace {

// The timers the event loop holds for the pool and anything it owns, as (interval, type).
std::multimap<int, Qt::TimerType> registeredTimers(TimerPool& pool) {
    std::multimap<int, Qt::TimerType> timers;
    QList<QObject*> owners = pool.findChildren<QObject*>();
    owners.push_back(&pool);
    for (QObject* owner : owners)
        for (const auto& t : QAbstractEventDispatcher::instance()->registeredTimers(owner))
            timers.emplace(t.interval, t.timerType);
    return timers;
}

// Counts every timer event the program's objects receive, whoever started the timer.
class TimerEventCounter : public QObject {
public:
    TimerEventCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~TimerEventCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Timer)
            ++count;
        return QObject::eventFilter(watched, e);
    }
};

TEST(TimerPool, HandlesFollowCreationOrderAndKeepTheirSettings) {
    TimerPool pool;
    EXPECT_EQ(pool.addTrigger(50000), 1);
    EXPECT_EQ(pool.addTrigger(1000, false), 2);
    EXPECT_EQ(pool.addTrigger(40), 3);
    EXPECT_EQ(pool.count(), 3);
    EXPECT_EQ(pool.interval(1), 50000);
    EXPECT_EQ(pool.interval(3), 40);
    EXPECT_TRUE(pool.isEnabled(1));
    EXPECT_FALSE(pool.isEnabled(2));

    pool.setEnabled(2, true);
    pool.setEnabled(1, false);
    EXPECT_TRUE(pool.isEnabled(2));
    EXPECT_FALSE(pool.isEnabled(1));
    pool.disableAll();
    for (int h = 1; h <= 3; ++h)
        EXPECT_FALSE(pool.isEnabled(h)) << h;

    // Handles that were never handed out are ignored.
    EXPECT_FALSE(pool.isEnabled(0));
    EXPECT_FALSE(pool.isEnabled(4));
    pool.setEnabled(4, true);
    EXPECT_EQ(pool.interval(4), 0);
}

TEST(TimerPool, ReportsEachDueTriggerByItsHandleAndSkipsDisabledOnes) {
    TimerPool pool;
    const int a = pool.addTrigger(1);
    const int b = pool.addTrigger(1);
    const int c = pool.addTrigger(1);
    pool.setEnabled(b, false);
    std::map<int, int> fired;
    QObject::connect(&pool, &TimerPool::allTriggers, [&](int h) { ++fired[h]; });

    ASSERT_TRUE(QTest::qWaitFor([&] { return fired[a] >= 3 && fired[c] >= 3; }, 5000));
    // b has the same interval as its neighbours: enabled, it would have fired too.
    EXPECT_EQ(fired.count(b), 0u);

    pool.disableAll();
    fired.clear();
    pool.setEnabled(b, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired[b] >= 2; }, 5000));
    EXPECT_EQ(fired[a], 0);
    EXPECT_EQ(fired[c], 0);
}

// Nothing polls: the event loop holds one timer per enabled trigger, at that trigger's own
// interval, and none at all while every trigger rests. An idle program then sleeps until
// something is due.
TEST(TimerPool, EachEnabledTriggerAloneHoldsATimerAtItsOwnInterval) {
    TimerPool pool;
    const int layout = pool.addTrigger(15, false);
    const int alarm = pool.addTrigger(50000, false);
    const int clock = pool.addTrigger(1000, false);
    EXPECT_TRUE(registeredTimers(pool).empty());

    pool.setEnabled(layout, true);
    pool.setEnabled(alarm, true);
    pool.setEnabled(clock, true);
    using Timers = std::multimap<int, Qt::TimerType>;
    // Short intervals (the layout pass) are precise; long ones may be a little late, so that
    // the system can bundle wake-ups (Qt makes the longest coarser still).
    const Timers timers = registeredTimers(pool);
    ASSERT_EQ(timers.size(), 3u);
    EXPECT_EQ(timers.count(15), 1u);
    EXPECT_EQ(timers.find(15)->second, Qt::PreciseTimer);
    EXPECT_EQ(timers.count(1000), 1u);
    EXPECT_EQ(timers.count(50000), 1u);
    EXPECT_NE(timers.find(1000)->second, Qt::PreciseTimer);
    EXPECT_NE(timers.find(50000)->second, Qt::PreciseTimer);

    // Enabling a running trigger again starts no second timer.
    pool.setEnabled(clock, true);
    pool.setInterval(layout, 70);
    pool.setEnabled(alarm, false);
    EXPECT_EQ(registeredTimers(pool), (Timers{{70, Qt::PreciseTimer}, {1000, Qt::CoarseTimer}}));
    // A resting trigger's new interval waits for it to be enabled.
    pool.setInterval(alarm, 60000);
    EXPECT_EQ(registeredTimers(pool).count(60000), 0u);

    pool.disableAll();
    EXPECT_TRUE(registeredTimers(pool).empty());
}

TEST(TimerPool, TheProgramWakesOnlyWhenATriggerIsDue) {
    TimerPool pool;
    const int resting = pool.addTrigger(1, false);
    pool.addTrigger(60000); // enabled, but not due within the wait
    int fired = 0;
    QObject::connect(&pool, &TimerPool::allTriggers, [&](int) { ++fired; });
    {
        TimerEventCounter wakeUps;
        QTest::qWait(200);
        EXPECT_EQ(wakeUps.count, 0);
    }
    EXPECT_EQ(fired, 0);

    // Once a trigger runs, every timer event is one of its firings: nothing ticks between.
    pool.setEnabled(resting, true);
    pool.setInterval(resting, 25);
    TimerEventCounter wakeUps;
    ASSERT_TRUE(QTest::qWaitFor([&] { return fired >= 3; }, 5000));
    pool.disableAll();
    EXPECT_EQ(wakeUps.count, fired);
}

} // namespace
} // namespace dw
