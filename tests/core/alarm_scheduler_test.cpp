#include "core/calendar/task_filter.h"
#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"
#include "core/settings/alarm_scheduler.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <map>

namespace dw {
namespace {

const int kDay = 36526; // Saturday 1 January 2000

DateSerial at(int day, int hour, int minute, int second = 0) {
    return kDay + day + timeFraction(hour, minute, second);
}

class AlarmTest : public ::testing::Test {
protected:
    // Sorting the store saves it: into a folder of the test's own.
    AlarmTest() : store(fs, clock) { store.setDataDir(dir.path()); }

    // A task on day `day` (0 = 1 January 2000) at a time text, with the alarm flag "Yes".
    void addTask(int day, const std::string& time, const std::string& what,
                 const std::string& alarm = "Yes", const std::string& category = "",
                 const std::string& done = "No") {
        CellTable& s = store.gridStore();
        const int r = s.rowCount();
        s.insertRows(r, 1);
        const std::string cells[] = {
            storeKey(kDay + day, 100 + r), time, category, what, done, alarm};
        for (int c = 0; c < 6; ++c)
            s.setCell(c, r, cells[c]);
    }
    // A task at hour:minute in the locale's short time.
    void addTaskAt(int day, int hour, int minute, const std::string& what) {
        addTask(day, formatDateTime("t", timeFraction(hour, minute), fs), what);
    }

    // Runs the trigger from `from` to `to` (checks every 50 seconds, none in a stall) and
    // clears each alarm at once. Answers every announcement with its check time.
    std::vector<TimedAnnouncement> run(DateSerial from, DateSerial to,
                                       const std::vector<AlarmStall>& stalls = {}) {
        return simulateAlarmChecks(store, alarmCheckTimes(from, to, 50, stalls), settings, fs);
    }

    static std::map<std::string, int> countsByText(const std::vector<TimedAnnouncement>& all) {
        std::map<std::string, int> n;
        for (const TimedAnnouncement& t : all)
            ++n[t.announcement.what];
        return n;
    }

    test::TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{at(0, 12, 0)};
    TaskStore store;
    AlarmSettings settings;
};

TEST_F(AlarmTest, AnnouncedByTheFirstCheckInTheDueMinuteLessTheLead) {
    struct Case {
        int lead;
        int dueHour, dueMinute;
    } cases[] = {{0, 10, 30}, {15, 10, 15}, {120, 8, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lead);
        settings.leadMinutes = c.lead;
        store.gridStore().setRowCount(1);
        addTaskAt(0, 10, 30, "Dentist");
        const auto all = run(at(0, 0, 0, 7), at(0, 23, 59, 59));
        ASSERT_EQ(all.size(), 1u);
        const DateSerial check = all[0].checkTime;
        EXPECT_EQ(minuteOf(check), minuteOf(at(0, c.dueHour, c.dueMinute)));
        EXPECT_FALSE(all[0].announcement.missed);
        EXPECT_EQ(all[0].announcement.time, "10:30 AM");
    }
}

// Over three days of checks every 50 seconds, with stalls of minutes here and there, every
// task with an alarm is announced exactly once and never before it is due; tasks in one
// minute come in one check.
TEST_F(AlarmTest, EveryAlarmFiresExactlyOnceOverDaysOfChecks) {
    settings.leadMinutes = 30;
    int n = 0;
    std::map<std::string, DateSerial> due;
    for (int day = 0; day < 3; ++day)
        for (const auto& [h, m] : std::vector<std::pair<int, int>>{
                 {0, 0}, {0, 20}, {0, 29}, {7, 15}, {7, 15}, {12, 0}, {23, 59}}) {
            const std::string what = "task " + std::to_string(n++);
            addTaskAt(day, h, m, what);
            due[what] = at(day, h, m) - 30.0 / 1440;
        }
    ASSERT_TRUE(store.sortAndSaveStore());
    const std::vector<AlarmStall> stalls = {
        {at(0, 7, 0), at(0, 7, 3)},       // three minutes with no check, before a due minute
        {at(0, 6, 44, 10), at(0, 6, 47)}, // one over 6:45, the due minute of 7:15's tasks
        {at(1, 23, 29), at(1, 23, 31)},   // over the due minute of tomorrow's 0:00
    };
    const auto all = run(at(0, 0, 0, 3), at(3, 0, 0), stalls);
    const auto counts = countsByText(all);
    // Day 0's tasks at 0:00, 0:20 and 0:29 fell due on the day before the run.
    for (const auto& [what, when] : due) {
        SCOPED_TRACE(what);
        const bool beforeRun = when < at(0, 0, 0);
        EXPECT_EQ(counts.count(what) ? counts.at(what) : 0, beforeRun ? 0 : 1);
    }
    for (const TimedAnnouncement& t : all) {
        SCOPED_TRACE(t.announcement.what);
        EXPECT_GE(minuteOf(t.checkTime), minuteOf(due[t.announcement.what]));
        // Late only where a stall covered the due minute, and then marked so.
        EXPECT_EQ(t.announcement.missed,
                  minuteOf(t.checkTime) > minuteOf(due[t.announcement.what]));
    }
    // The two 7:15 tasks of a day come in the same check.
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        if (all[i].announcement.dueMinute == all[i + 1].announcement.dueMinute) {
            EXPECT_EQ(all[i].checkTime, all[i + 1].checkTime);
        }
    }
}

TEST_F(AlarmTest, TwoTasksInOneMinuteComeTogetherInOnePanelText) {
    addTaskAt(0, 10, 30, "First");
    addTaskAt(0, 10, 30, "Second\r\nwith notes");
    AlarmScheduler s;
    s.check(store, at(0, 10, 29, 40), settings, fs);
    const auto due = s.check(store, at(0, 10, 30, 30), settings, fs);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(alarmPanelText(due), "Alarm \"First\" at 10:30 AM\n"
                                   "Alarm \"Second\" at 10:30 AM ... click panel to clear");
}

TEST_F(AlarmTest, ClearingWithinTheMinuteDoesNotAnnounceAgain) {
    addTaskAt(0, 10, 30, "Dentist");
    AlarmScheduler s;
    EXPECT_EQ(s.check(store, at(0, 10, 30, 5), settings, fs).size(), 1u);
    // The panel was cleared at once; the next check falls in the same minute.
    EXPECT_TRUE(s.check(store, at(0, 10, 30, 55), settings, fs).empty());
    // Even a clock set back into the minute finds it announced.
    EXPECT_TRUE(s.check(store, at(0, 10, 30, 1), settings, fs).empty());
}

TEST_F(AlarmTest, ChecksHeldBackByAShowingAlarmCatchUpWhenItIsCleared) {
    addTaskAt(0, 10, 30, "First");
    addTaskAt(0, 10, 31, "Second");
    AlarmScheduler s;
    EXPECT_EQ(s.check(store, at(0, 10, 30, 10), settings, fs).size(), 1u);
    // The user clears the panel at 10:33; the program made no check meanwhile.
    const auto due = s.check(store, at(0, 10, 33, 20), settings, fs);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].what, "Second");
    EXPECT_TRUE(due[0].missed);
}

TEST_F(AlarmTest, ASleepAnnouncesTodaysMissedTasksOnceAndYesterdaysNever) {
    addTaskAt(0, 23, 0, "Late yesterday");
    addTaskAt(1, 6, 0, "Early today");
    addTaskAt(1, 7, 30, "After waking");
    ASSERT_TRUE(store.sortAndSaveStore());
    const auto all = run(at(0, 21, 0), at(1, 8, 0), {{at(0, 22, 0), at(1, 7, 0, 20)}});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].announcement.what, "Early today");
    EXPECT_TRUE(all[0].announcement.missed);
    EXPECT_EQ(all[0].checkTime, at(1, 7, 0, 20));
    EXPECT_EQ(all[1].announcement.what, "After waking");
    EXPECT_FALSE(all[1].announcement.missed);
}

TEST_F(AlarmTest, ALeadOverMidnightReachesTomorrowNotTodaysPastTask) {
    settings.leadMinutes = 30;
    addTaskAt(0, 0, 20, "Today, long past");
    addTaskAt(1, 0, 20, "Tomorrow");
    ASSERT_TRUE(store.sortAndSaveStore());
    AlarmScheduler s;
    const auto due = s.check(store, at(0, 23, 50, 10), settings, fs);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].what, "Tomorrow");
    EXPECT_EQ(due[0].date, kDay + 1);
}

TEST_F(AlarmTest, TasksThatNeverAlarm) {
    addTask(0, "", "empty time");
    addTask(0, "half past ten", "unreadable time");
    addTask(0, "10:30 AM", "flag not exactly Yes", "yes");
    addTask(0, "10:30 AM", "flag No", "No");
    addTask(0, "10:30 AM", "filtered out", "Yes", "Work");
    FilterState filter;
    filter.setCategories({"work"});
    store.setFilter([&filter](const std::string& d, const std::string& c) {
        return filter.taskPassesFilter(d, c);
    });
    const auto all = run(at(0, 0, 0), at(0, 23, 59));
    EXPECT_TRUE(all.empty());
}

TEST_F(AlarmTest, MasterSwitchOffAnnouncesNothingAndLaterChecksStillCountFromThen) {
    addTaskAt(0, 10, 30, "Dentist");
    addTaskAt(0, 10, 40, "Call");
    AlarmScheduler s;
    settings.enabled = false;
    EXPECT_TRUE(s.check(store, at(0, 10, 30, 10), settings, fs).empty());
    settings.enabled = true;
    // The alarm that fell due while alarms were off stays quiet.
    EXPECT_TRUE(s.check(store, at(0, 10, 31, 0), settings, fs).empty());
    EXPECT_EQ(s.check(store, at(0, 10, 40, 0), settings, fs).size(), 1u);
}

TEST(AlarmPanelText, OneTaskCutToFortyCharactersWithItsTimeAsStored) {
    AlarmAnnouncement a;
    a.what = "Ring the plumber about the kitchen tap before lunch";
    a.time = "10:30 AM";
    EXPECT_EQ(alarmPanelText({a}), "Alarm \"Ring the plumber about the kitchen tap b\" at "
                                   "10:30 AM ... click panel to clear");
    a.what = "Café ☕ and ümlauts count as one character each, not bytes";
    EXPECT_TRUE(
        alarmPanelText({a}).starts_with("Alarm \"Café ☕ and ümlauts count as one characte\" at"));
    a.missed = true;
    a.what = "Dentist";
    EXPECT_EQ(alarmPanelText({a}),
              "Alarm \"Dentist\" at 10:30 AM (missed) ... click panel to clear");
}

TEST(AlarmCheckTimes, EveryFiftySecondsWithStallsPushingTheNextCheck) {
    const DateSerial from = at(0, 10, 0);
    const auto times = alarmCheckTimes(from, at(0, 10, 5), 50, {{at(0, 10, 1), at(0, 10, 4)}});
    std::vector<std::string> texts;
    for (const DateSerial t : times)
        texts.push_back(formatDateTime("hh:nn:ss", t, FormatSettings::enUS()));
    EXPECT_EQ(texts, (std::vector<std::string>{"10:00:00", "10:00:50", "10:04:00", "10:04:50"}));
}

} // namespace
} // namespace dw
