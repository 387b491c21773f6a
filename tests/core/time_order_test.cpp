// A task put on a date from outside the editor takes its place among the date's tasks by its
// time, whichever road it comes by.
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "core/editing/recurrence.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "support/temp_dir.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace dw {
namespace {

const int kDay = 36526; // 1 January 2000

// The roads that put a task on a date straight into the store.
using InsertPath = std::function<void(TaskStore&, const FormatSettings&, const DatedTask&)>;

struct Road {
    const char* name;
    InsertPath insert;
};

const Road kRoads[] = {
    {"insertTask", [](TaskStore& s, const FormatSettings&,
                      const DatedTask& t) { ASSERT_TRUE(s.insertTask(kDay, t)); }},
    {"recurrence",
     [](TaskStore& s, const FormatSettings&, const DatedTask& t) {
         // The generator's tasks for two dates at once: the other date must not disturb.
         ASSERT_TRUE(addRecurringTasks(s, {kDay + 7, kDay}, t));
     }},
    {"sync",
     [](TaskStore& s, const FormatSettings& fs, const DatedTask& t) {
         const LocalTasks gathered = gatherLocalTasks(s, fs, s.clock());
         LocalChange add;
         add.kind = LocalChange::Kind::Add;
         add.task.date = kDay;
         const std::optional<double> time = parseTimeText(t.time, fs);
         add.task.minute = time ? static_cast<int>(std::lround(*time * 1440)) : 0;
         add.task.what = t.what;
         ASSERT_TRUE(applyLocalChanges(s, gathered, {add}, fs));
     }},
};

struct Case {
    const char* time;
    std::vector<std::string> expected; // the day view's texts, in order
};

class TimeOrderTest : public ::testing::Test {
protected:
    TimeOrderTest() : clock(encodeDateTime(2000, 1, 1, 15, 0)), store(fs, clock) {
        store.setDataDir(dir.path());
    }

    void addRow(const std::string& key, const std::string& time, const std::string& what) {
        CellTable& s = store.gridStore();
        const int r = s.rowCount();
        s.insertRows(r, 1);
        const std::string cells[] = {key, time, "", what, "No", "No"};
        for (int c = 0; c < 6; ++c)
            s.setCell(c, r, cells[c]);
    }

    std::vector<std::string> dayTexts(int date) {
        store.readFromStore(date);
        std::vector<std::string> out;
        const CellTable& d = store.gridDay();
        for (int r = 1; r < d.rowCount(); ++r)
            if (!d.cell(DayCol::What, r).empty())
                out.push_back(d.cell(DayCol::What, r));
        return out;
    }

    test::TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
};

TEST_F(TimeOrderTest, EveryRoadPlacesTheTaskByItsTime) {
    // The sync road has no "All day" text of its own: its all-day events are the midnight
    // task here, so it skips that case.
    const Case cases[] = {
        {"12:00 AM", {"party", "new", "nine", "one", "five"}},
        {"9:30 AM", {"party", "nine", "new", "one", "five"}},
        {"12:00 PM", {"party", "nine", "new", "one", "five"}},
        {"2:00 PM", {"party", "nine", "one", "new", "five"}},
        {"11:59 PM", {"party", "nine", "one", "five", "new"}},
        {"All day", {"party", "new", "nine", "one", "five"}},
    };
    for (const Road& road : kRoads) {
        for (const Case& c : cases) {
            if (std::string(road.name) == "sync" && std::string(c.time) == "All day")
                continue;
            SCOPED_TRACE(std::string(road.name) + " at " + c.time);
            store.gridStore().setRowCount(1);
            // Stored the way older versions left them: sequence numbers with gaps.
            addRow(storeKey(kDay, 100), "All day", "party");
            addRow(storeKey(kDay, 103), "9:00 AM", "nine");
            addRow(storeKey(kDay, 107), "1:00 PM", "one");
            addRow(storeKey(kDay, 120), "5:00 PM", "five");
            addRow(storeKey(kDay + 1, 101), "6:00 AM", "tomorrow");
            road.insert(store, fs, DatedTask{c.time, "", "new", false, false});
            EXPECT_EQ(dayTexts(kDay), c.expected);
            EXPECT_EQ(dayTexts(kDay + 1), std::vector<std::string>{"tomorrow"});
            // The date's rows are numbered afresh, in the order they show.
            for (int i = 0; i < static_cast<int>(c.expected.size()); ++i)
                EXPECT_EQ(store.gridStore().cell(StoreCol::Key, store.firstVisibleRow(kDay) + i),
                          storeKey(kDay, 101 + i));
        }
    }
}

TEST_F(TimeOrderTest, TheUsersOwnOrderStaysAndNewTasksOrderByTimeNotText) {
    // A header sort left the date's tasks in the user's order, latest first.
    addRow(storeKey(kDay, 101), "5:00 PM", "five");
    addRow(storeKey(kDay, 102), "9:00 AM", "nine");
    // As text "10:00 AM" < "2:00 PM" < "7:00 PM" < "9:30 AM"; by time the other way round.
    const std::vector<PlacedTask> tasks = {
        {kDay, {"7:00 PM", "", "seven", false, false}},
        {kDay, {"2:00 PM", "", "two", false, false}},
        {kDay, {"10:00 AM", "", "ten", false, false}},
        {kDay + 1, {"9:30 AM", "", "half past nine", false, false}},
        {kDay + 1, {"7:00 AM", "", "seven tomorrow", false, false}},
    };
    store.placeTasks(tasks);
    ASSERT_TRUE(store.sortAndSaveStore());
    EXPECT_EQ(dayTexts(kDay), (std::vector<std::string>{"ten", "two", "five", "nine", "seven"}));
    EXPECT_EQ(dayTexts(kDay + 1), (std::vector<std::string>{"seven tomorrow", "half past nine"}));
}

TEST_F(TimeOrderTest, ASyncedTaskThatChangesDateTakesItsPlaceByTimeThere) {
    addRow(storeKey(kDay, 101), "8:00 AM", "moving");
    addRow(storeKey(kDay + 1, 101), "7:00 AM", "early");
    addRow(storeKey(kDay + 1, 102), "11:00 AM", "late");
    const LocalTasks gathered = gatherLocalTasks(store, fs, clock);
    LocalChange moved;
    moved.kind = LocalChange::Kind::Replace;
    moved.local = 0;
    moved.task = gathered.tasks[0];
    moved.task.date = kDay + 1;
    ASSERT_TRUE(applyLocalChanges(store, gathered, {moved}, fs));
    EXPECT_TRUE(dayTexts(kDay).empty());
    EXPECT_EQ(dayTexts(kDay + 1), (std::vector<std::string>{"early", "moving", "late"}));
}

} // namespace
} // namespace dw
