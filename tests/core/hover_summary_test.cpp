#include "core/calendar/hover_summary.h"
#include "core/calendar/task_filter.h"
#include "core/dates/date_serial.h"
#include "core/store/task_store.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

const int kDay = 36526;

class SummaryTest : public ::testing::Test {
protected:
    SummaryTest() : store(fs, clock) {}
    void add(const std::string& time, const std::string& what, const std::string& done,
             const std::string& category = "") {
        CellTable& s = store.gridStore();
        const int r = s.rowCount();
        s.insertRows(r, 1);
        const std::string cells[] = {storeKey(kDay, 100 + r), time, category, what, done, "No"};
        for (int c = 0; c < 6; ++c)
            s.setCell(c, r, cells[c]);
    }
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{kDay + 0.5};
    TaskStore store;
};

TEST_F(SummaryTest, PendingThenCompletedWithTheirTimesAndFirstLines) {
    add("9:00 AM", "Standup\r\nroom 4", "No");
    add("11:00 AM", "Report", "Yes");
    add("2:30 PM", "Dentist", "No");
    EXPECT_EQ(hoverSummaryLines(store, kDay), (std::vector<std::string>{
                                                  "2\t Pending tasks",
                                                  "",
                                                  "9:00 AM\tStandup",
                                                  "2:30 PM\tDentist",
                                                  "",
                                                  "1\t Completed tasks",
                                                  "",
                                                  "11:00 AM\tReport",
                                              }));
}

TEST_F(SummaryTest, ADoneTextOtherThanYesIsPendingOnlyAndOnlyCompletedHasNoGap) {
    add("9:00 AM", "Odd", "done");
    EXPECT_EQ(hoverSummaryLines(store, kDay),
              (std::vector<std::string>{"1\t Pending tasks", "", "9:00 AM\tOdd"}));
    store.gridStore().setRowCount(1);
    add("9:00 AM", "Finished", "Yes");
    EXPECT_EQ(hoverSummaryLines(store, kDay),
              (std::vector<std::string>{"1\t Completed tasks", "", "9:00 AM\tFinished"}));
}

TEST_F(SummaryTest, TasksHiddenByTheFilterAreLeftOut) {
    add("9:00 AM", "Private", "No", "Home");
    FilterState filter;
    filter.setCategories({"home"});
    store.setFilter([&filter](const std::string& d, const std::string& c) {
        return filter.taskPassesFilter(d, c);
    });
    EXPECT_TRUE(hoverSummaryLines(store, kDay).empty());
    EXPECT_TRUE(hoverSummaryLines(store, kDay + 1).empty());
}

TEST(HoverTracker, TenTicksOnANewDayTwoWhileShowingNoneWhileAnAlarmShows) {
    HoverTracker h;
    EXPECT_TRUE(h.mouseMoved(0, 12, 50, 40, false)); // a new day hides and arms 10 ticks
    for (int i = 1; i < 10; ++i)
        EXPECT_FALSE(h.tick(false)) << i;
    EXPECT_FALSE(h.tick(true)); // held while an alarm shows
    EXPECT_TRUE(h.tick(false));
    // Past 0 nothing more comes up until another cell.
    EXPECT_FALSE(h.tick(false));
    EXPECT_FALSE(h.mouseMoved(0, 12, 52, 41, true)); // the same cell, a small move
    EXPECT_FALSE(h.tick(false));
    // The next day while the summary shows: two ticks, and it stays up meanwhile.
    EXPECT_FALSE(h.mouseMoved(0, 13, 56, 41, true));
    EXPECT_FALSE(h.tick(false));
    EXPECT_TRUE(h.tick(false));
    EXPECT_EQ(h.cell(), 13);
}

TEST(HoverTracker, AQuickMoveHidesAndStartsTheLongCountdown) {
    HoverTracker h;
    h.mouseMoved(1, 12, 50, 40, false);
    EXPECT_TRUE(h.mouseMoved(1, 20, 80, 40, true)); // more than 6 pixels at once
    EXPECT_EQ(h.countdown(), HoverTracker::kFirstDelay);
    EXPECT_EQ(h.calendar(), 1);
    // Outside the cells counts as a cell too.
    EXPECT_TRUE(h.mouseMoved(2, -1, 82, 40, false));
    EXPECT_EQ(h.cell(), -1);
    EXPECT_EQ(h.countdown(), HoverTracker::kFirstDelay);
}

} // namespace
} // namespace dw
