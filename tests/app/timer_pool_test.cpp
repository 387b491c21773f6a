#include "app/widgets/timer_pool.h"

#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace dw {
namespace {

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

} // namespace
} // namespace dw
