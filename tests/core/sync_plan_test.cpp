#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "core/sync/sync_plan.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace dw {
namespace {

// A line-based stand-in for the calendar object format: "UID:u", then one line a task,
// "T:recurrence id|date|minute|category|what|done|alarm", and "EXDATE:id" marks.
class FakeMapping : public ObjectMapping {
public:
    static std::string taskLine(const std::string& rid, const SyncTask& t) {
        return "T:" + rid + "|" + std::to_string(t.date) + "|" + std::to_string(t.minute) + "|" +
               t.category + "|" + t.what + "|" + (t.done ? "1" : "0") + "|" +
               (t.alarm ? "1" : "0") + "\n";
    }
    ParsedObject read(const std::string& text, int from, int to) const override {
        ParsedObject p;
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("UID:", 0) == 0) {
                p.uid = line.substr(4);
            } else if (line.rfind("T:", 0) == 0) {
                std::vector<std::string> f;
                std::istringstream fields(line.substr(2));
                for (std::string x; std::getline(fields, x, '|');)
                    f.push_back(x);
                if (f.size() != 7)
                    return {false, "bad line", {}, false, {}};
                SyncTask t{std::stoi(f[1]), std::stoi(f[2]), f[3], f[4], f[5] == "1", f[6] == "1"};
                p.series = p.series || !f[0].empty();
                if (f[0].empty() || (t.date >= from && t.date <= to))
                    p.tasks.push_back({f[0], t});
            } else if (line == "JUNK") {
                return {false, "unreadable", {}, false, {}};
            }
        }
        p.ok = true;
        return p;
    }
    std::string write(const SyncTask& task, const std::string& uid) const override {
        return "UID:" + uid + "\n" + taskLine("", task);
    }
    std::string withoutOccurrence(const std::string& text, const std::string& rid) const override {
        return dropLine(text, "T:" + rid + "|") + "EXDATE:" + rid + "\n";
    }
    std::string withOccurrence(const std::string& text, const std::string& rid,
                               const SyncTask& task) const override {
        return dropLine(text, "T:" + rid + "|") + taskLine(rid, task);
    }

private:
    static std::string dropLine(const std::string& text, const std::string& prefix) {
        std::istringstream in(text);
        std::string out;
        for (std::string line; std::getline(in, line);)
            if (line.rfind(prefix, 0) != 0)
                out += line + "\n";
        return out;
    }
};

const std::string kCal = "/user/cal/";
const int kDay = 45000;

SyncTask dated(int date, int minute, const std::string& what, bool done = false) {
    return {date, minute, "Work", what, done, false};
}
SyncTask todo(const std::string& what) {
    return {0, -1, "", what, false, false};
}

class SyncPlanTest : public ::testing::Test {
protected:
    // A task both sides agree on since the last sync.
    void synced(const std::string& uid, const SyncTask& t, bool alsoLocal = true) {
        const std::string href = kCal + uid + ".ics";
        in.records.push_back({kCal, uid, href, "\"e-" + uid + "\"", kindOf(t), {}, t});
        in.server.push_back({href, "\"e-" + uid + "\"", mapping.write(t, uid)});
        if (alsoLocal)
            in.local.push_back(t);
    }
    void serverChanges(const std::string& uid, const SyncTask& t) {
        for (ServerObject& o : in.server)
            if (o.href == kCal + uid + ".ics") {
                o.text = mapping.write(t, uid);
                o.etag = "\"e2-" + uid + "\"";
            }
    }
    void serverDeletes(const std::string& uid) {
        std::erase_if(in.server,
                      [&](const ServerObject& o) { return o.href == kCal + uid + ".ics"; });
    }
    SyncPlan plan() {
        int n = 0;
        return planSync(in, mapping, [&] { return "new" + std::to_string(++n); });
    }

    FakeMapping mapping;
    SyncInput in{kCal, {}, {}, {}, kDay - 365, kDay + 730};
};

std::vector<std::string> linesOf(const SyncPlan& p) {
    std::vector<std::string> out;
    for (const LocalChange& c : p.local)
        out.push_back(c.line);
    for (const RemoteChange& c : p.remote)
        out.insert(out.end(), c.lines.begin(), c.lines.end());
    return out;
}

TEST_F(SyncPlanTest, FirstSyncSendsEveryTaskAsANewObject) {
    in.local = {dated(kDay, 9 * 60, "Dentist"), todo("Buy milk")};
    const SyncPlan p = plan();
    ASSERT_EQ(p.remote.size(), 2u);
    EXPECT_TRUE(p.local.empty());
    EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Create);
    EXPECT_EQ(p.remote[0].href, kCal + "new1.ics");
    EXPECT_TRUE(p.remote[0].ifMatch.empty());
    EXPECT_EQ(p.remote[0].recordsAfter.at(0).kind, ObjectKind::Event);
    EXPECT_EQ(p.remote[1].recordsAfter.at(0).kind, ObjectKind::Todo);
    EXPECT_EQ(linesOf(p), (std::vector<std::string>{"sent\tnew\t2023-03-15\t09:00\tDentist",
                                                    "sent\tnew\tto-do\t\tBuy milk"}));
}

// Each local edit the window or the command line can make stays the same object: an
// update of its href with the ETag the server gave, never a delete and a create.
TEST_F(SyncPlanTest, LocalEditsUpdateTheSameObject) {
    const SyncTask base = dated(kDay, 9 * 60, "Dentist");
    SyncTask retimed = base, completed = base, moved = base, retexted = base, recat = base;
    SyncTask rewritten = base; // a new time and a new text at once
    rewritten.minute = 10 * 60 + 15;
    rewritten.what = "Dentist, bring the card";
    retimed.minute = 10 * 60;
    completed.done = true;
    moved.date = kDay + 3;
    retexted.what = "Dentist at noon";
    recat.category = "Home";
    recat.alarm = true;
    for (const SyncTask& edited : {retimed, completed, moved, retexted, recat, rewritten}) {
        in = SyncInput{kCal, {}, {}, {}, kDay - 365, kDay + 730};
        synced("a", base, false);
        synced("b", dated(kDay, 8 * 60, "Other"));
        in.local.push_back(edited);
        const SyncPlan p = plan();
        ASSERT_EQ(p.remote.size(), 1u) << edited.what;
        EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Update);
        EXPECT_EQ(p.remote[0].href, kCal + "a.ics");
        EXPECT_EQ(p.remote[0].ifMatch, "\"e-a\"");
        EXPECT_EQ(p.remote[0].body, mapping.write(edited, "a"));
        EXPECT_EQ(p.remote[0].recordsAfter.at(0).synced, edited);
        EXPECT_EQ(p.remote[0].recordsAfter.at(0).uid, "a");
        EXPECT_TRUE(p.local.empty());
    }
}

TEST_F(SyncPlanTest, ServerChangesAndDeletionsReachTheLocalTables) {
    synced("a", dated(kDay, 9 * 60, "Dentist"));
    synced("b", todo("Buy milk"));
    serverChanges("a", dated(kDay + 1, 9 * 60, "Dentist moved"));
    serverDeletes("b");
    in.server.push_back({kCal + "c.ics", "\"c\"", mapping.write(dated(kDay, 60, "New"), "c")});
    const SyncPlan p = plan();
    EXPECT_TRUE(p.remote.empty());
    ASSERT_EQ(p.local.size(), 3u);
    EXPECT_EQ(p.local[0].kind, LocalChange::Kind::Replace);
    EXPECT_EQ(p.local[0].local, 0);
    EXPECT_EQ(p.local[1].kind, LocalChange::Kind::Remove);
    EXPECT_EQ(p.local[1].local, 1);
    EXPECT_EQ(p.local[2].kind, LocalChange::Kind::Add);
    EXPECT_EQ(linesOf(p),
              (std::vector<std::string>{"received\tupdate\t2023-03-16\t09:00\tDentist moved",
                                        "received\tdelete\tto-do\t\tBuy milk",
                                        "received\tnew\t2023-03-15\t01:00\tNew"}));
    std::vector<std::string> uids;
    for (const SyncRecord& r : recordsAfterSync(p, {}))
        uids.push_back(r.uid + " " + r.etag + " " + r.synced.what);
    EXPECT_EQ(uids, (std::vector<std::string>{"a \"e2-a\" Dentist moved", "c \"c\" New"}));
}

// The same changes print the same lines whatever order the server lists its objects in.
TEST_F(SyncPlanTest, ReceivedLinesDoNotDependOnTheServersOrder) {
    in.server.push_back({kCal + "x.ics", "\"x\"", mapping.write(dated(kDay, 60, "First"), "x")});
    in.server.push_back({kCal + "y.ics", "\"y\"", mapping.write(dated(kDay, 50, "Second"), "y")});
    const std::vector<std::string> lines = linesOf(plan());
    ASSERT_EQ(lines.size(), 2u);
    std::reverse(in.server.begin(), in.server.end());
    EXPECT_EQ(linesOf(plan()), lines);
}

TEST_F(SyncPlanTest, LocalDeletionDeletesOnTheServer) {
    synced("a", dated(kDay, 9 * 60, "Dentist"), false);
    const SyncPlan p = plan();
    ASSERT_EQ(p.remote.size(), 1u);
    EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Delete);
    EXPECT_EQ(p.remote[0].ifMatch, "\"e-a\"");
    EXPECT_TRUE(p.remote[0].recordsAfter.empty());
    // Until the delete is done the record stays, so a failed one is tried again.
    EXPECT_EQ(recordsAfterSync(p, {false}).size(), 1u);
    EXPECT_TRUE(recordsAfterSync(p, {true}).empty());
}

TEST_F(SyncPlanTest, BothSidesChangedKeepsTheLocalVersionBeside) {
    synced("a", dated(kDay, 9 * 60, "Dentist"), false);
    in.local.push_back(dated(kDay, 9 * 60, "Dentist, bring card"));
    serverChanges("a", dated(kDay, 11 * 60, "Dentist"));
    const SyncPlan p = plan();
    ASSERT_EQ(p.local.size(), 2u);
    EXPECT_EQ(p.local[0].kind, LocalChange::Kind::Replace);
    EXPECT_EQ(p.local[0].task.minute, 11 * 60);
    EXPECT_EQ(p.local[1].kind, LocalChange::Kind::Add);
    EXPECT_EQ(p.local[1].task.what, "Dentist, bring card (conflict)");
    ASSERT_EQ(p.remote.size(), 1u);
    EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Create);
    EXPECT_EQ(p.remote[0].recordsAfter.at(0).synced.what, "Dentist, bring card (conflict)");
}

// Changed on one side and deleted on the other: the change survives.
TEST_F(SyncPlanTest, AChangeWinsOverADeletion) {
    synced("a", dated(kDay, 9 * 60, "Edited here"), false);
    in.local.push_back(dated(kDay, 9 * 60, "Edited here, more"));
    serverDeletes("a");
    synced("b", dated(kDay, 10 * 60, "Edited there"), false);
    serverChanges("b", dated(kDay, 10 * 60, "Edited there, more"));
    const SyncPlan p = plan();
    ASSERT_EQ(p.remote.size(), 1u);
    EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Create);
    EXPECT_EQ(p.remote[0].href, kCal + "a.ics");
    ASSERT_EQ(p.local.size(), 1u);
    EXPECT_EQ(p.local[0].kind, LocalChange::Kind::Add);
    EXPECT_EQ(p.local[0].task.what, "Edited there, more");
}

// The guard counts what a plan deletes on each side against what the last sync left.
TEST_F(SyncPlanTest, MassDeletionsOnEitherSideAreCaught) {
    struct Case {
        int synced;
        int goneHere;  // deleted locally since the last sync: the plan deletes them there
        int goneThere; // deleted on the server: the plan deletes them here
        bool caught;
        bool here;
    };
    const Case cases[] = {
        {2, 0, 2, true, true},    // every one of two gone from the server
        {2, 2, 0, true, false},   // every one of two gone from here
        {1, 0, 1, false, false},  // a single task is not a mass
        {2, 0, 1, false, false},  // one of two
        {10, 0, 6, false, false}, // more than half, but only ten
        {10, 0, 10, true, true},  // all ten
        {11, 0, 6, true, true},   // more than half of eleven
        {11, 0, 5, false, false}, // not more than half
        {12, 7, 0, true, false},  {12, 6, 0, false, false},
    };
    for (const Case& c : cases) {
        in = SyncInput{kCal, {}, {}, {}, kDay - 365, kDay + 730};
        for (int i = 0; i < c.synced; ++i) {
            const std::string uid = "u" + std::to_string(i);
            synced(uid, dated(kDay + i, 9 * 60, "Task " + std::to_string(i)), i >= c.goneHere);
            if (i >= c.goneHere && i < c.goneHere + c.goneThere)
                serverDeletes(uid);
        }
        const SyncPlan p = plan();
        EXPECT_EQ(p.syncedBefore, c.synced);
        EXPECT_EQ(p.deletesHere, c.goneThere);
        EXPECT_EQ(p.deletesThere, c.goneHere);
        const auto found = massDeletion(p);
        ASSERT_EQ(found.has_value(), c.caught)
            << c.synced << " " << c.goneHere << " " << c.goneThere;
        if (found) {
            EXPECT_EQ(found->here, c.here);
            EXPECT_EQ(found->count, c.here ? c.goneThere : c.goneHere);
        }
    }
}

TEST(MassDeletionText, SaysHowManyWhereAndWhy) {
    EXPECT_EQ(massDeletionText({true, 5, 5}),
              "The sync would delete 5 tasks here: every task synced last time is gone from the "
              "server (was the calendar emptied, or is it another one?).");
    EXPECT_EQ(massDeletionText({false, 7, 12}),
              "The sync would delete 7 tasks on the server: 7 of the 12 tasks synced last time "
              "are gone from this computer (were the tasks cleared, or an older archive "
              "restored?).");
}

// A server stores control characters raw, and its next listing is no longer valid XML:
// they are left out of what is sent, and the task is not sent again at the next sync.
TEST_F(SyncPlanTest, ControlCharactersAreLeftOutOfWhatIsSent) {
    int dropped = 0;
    EXPECT_EQ(sendableText(std::string("a\x01"
                                       "b\tc\r\nd\re\nf\x7f\x1b"
                                       "g\xc3\xa9"),
                           dropped),
              "ab\tc\r\nde\nfg\xc3\xa9");
    EXPECT_EQ(dropped, 4);

    in.local = {SyncTask{kDay, 9 * 60,
                         "Wo\x02"
                         "rk",
                         "Bell\x07 rings\r\nline two", false, false}};
    SyncPlan p = plan();
    ASSERT_EQ(p.remote.size(), 1u);
    EXPECT_EQ(p.droppedFromSent, 2);
    const SyncTask sent = p.remote[0].recordsAfter.at(0).synced;
    EXPECT_EQ(sent.category, "Work");
    EXPECT_EQ(sent.what, "Bell rings\r\nline two");
    EXPECT_EQ(p.remote[0].body, mapping.write(sent, "new1"));

    // The next sync finds the server's copy and the local task the same.
    in.records = recordsAfterSync(p, {true});
    in.server.push_back({p.remote[0].href, "\"e1\"", p.remote[0].body});
    in.records[0].etag = "\"e1\"";
    p = plan();
    EXPECT_TRUE(p.remote.empty());
    EXPECT_TRUE(p.local.empty());
}

TEST_F(SyncPlanTest, SameContentOnBothSidesWithoutRecordsIsTakenAsOne) {
    const SyncTask t = dated(kDay, 9 * 60, "Dentist");
    synced("a", t);
    in.records.clear();
    const SyncPlan p = plan();
    EXPECT_TRUE(p.remote.empty());
    EXPECT_TRUE(p.local.empty());
    ASSERT_EQ(p.records.size(), 1u);
    EXPECT_EQ(p.records[0].uid, "a");
}

TEST_F(SyncPlanTest, AnUnreadableObjectIsLeftAloneAndTold) {
    synced("a", dated(kDay, 9 * 60, "Dentist"), false);
    in.server[0].text = "JUNK\n";
    const SyncPlan p = plan();
    EXPECT_TRUE(p.remote.empty());
    EXPECT_TRUE(p.local.empty());
    EXPECT_EQ(p.skipped, (std::vector<std::string>{kCal + "a.ics: unreadable"}));
    EXPECT_EQ(p.records.size(), 1u);
}

class SeriesPlanTest : public SyncPlanTest {
protected:
    // A weekly series of three occurrences, all synced.
    SeriesPlanTest() {
        std::string text = "UID:s\n";
        for (int week = 0; week < 3; ++week) {
            const SyncTask t = dated(kDay + 7 * week, 8 * 60, "Standup");
            const std::string rid = "R" + std::to_string(week);
            text += FakeMapping::taskLine(rid, t);
            in.records.push_back({kCal, "s", kCal + "s.ics", "\"s1\"", ObjectKind::Event, rid, t});
            in.local.push_back(t);
        }
        in.server.push_back({kCal + "s.ics", "\"s1\"", text});
    }
};

TEST_F(SeriesPlanTest, DeletingAndEditingOccurrencesIsOneUpdateOfTheSeries) {
    in.local.erase(in.local.begin()); // R0 deleted
    in.local[0].minute = 9 * 60;      // R1 moved an hour
    const SyncPlan p = plan();
    ASSERT_EQ(p.remote.size(), 1u);
    EXPECT_EQ(p.remote[0].kind, RemoteChange::Kind::Update);
    EXPECT_EQ(p.remote[0].href, kCal + "s.ics");
    EXPECT_EQ(p.remote[0].ifMatch, "\"s1\"");
    EXPECT_NE(p.remote[0].body.find("EXDATE:R0"), std::string::npos);
    EXPECT_NE(p.remote[0].body.find(FakeMapping::taskLine("R1", in.local[0])), std::string::npos);
    EXPECT_EQ(p.remote[0].recordsAfter.size(), 2u);
    EXPECT_TRUE(p.local.empty());
}

TEST_F(SeriesPlanTest, AnOccurrenceLeavingTheWindowStaysLocally) {
    in.windowFrom = kDay + 1;
    in.server[0].text = mapping.withoutOccurrence(in.server[0].text, "R0");
    const SyncPlan p = plan();
    EXPECT_TRUE(p.remote.empty());
    EXPECT_TRUE(p.local.empty());
    EXPECT_EQ(recordsAfterSync(p, {}).size(), 2u);
}

// The store side: tasks gathered from both tables and changes made there.
TEST(LocalTasks, GatherAndApplyRoundTrip) {
    test::TempDir dir;
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(2023, 3, 15, 12, 0));
    test::FakePrompts prompts;
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    ASSERT_TRUE(store.insertTask(kDay, {"9:00 AM", "Work", "Dentist", false, true}));
    ASSERT_TRUE(store.insertTask(kDay, {"8:00 AM", "", "Early", false, false}));
    store.gridNonday().setCell(TodoCol::What, 1, "Buy milk");
    store.gridNonday().setCell(TodoCol::Done, 1, "No");

    LocalTasks got = gatherLocalTasks(store, fs, clock);
    ASSERT_EQ(got.tasks.size(), 3u);
    EXPECT_EQ(got.tasks[1], (SyncTask{kDay, 9 * 60, "Work", "Dentist", false, true}));
    EXPECT_EQ(got.tasks[2], todo("Buy milk"));

    std::vector<LocalChange> changes = {
        {LocalChange::Kind::Replace, 1, dated(kDay + 1, 14 * 60 + 30, "Dentist"), ""},
        {LocalChange::Kind::Remove, 0, {}, ""},
        {LocalChange::Kind::Replace, 2, dated(kDay, 12 * 60, "Milk, dated now"), ""},
        {LocalChange::Kind::Add, -1, todo("New to-do"), ""},
    };
    ASSERT_TRUE(applyLocalChanges(store, got, changes, fs));
    got = gatherLocalTasks(store, fs, clock);
    EXPECT_EQ(got.tasks,
              (std::vector<SyncTask>{dated(kDay, 12 * 60, "Milk, dated now"),
                                     dated(kDay + 1, 14 * 60 + 30, "Dentist"), todo("New to-do")}));
    TaskStore reloaded(fs, clock);
    reloaded.setDataDir(dir.path());
    reloaded.loadStoreFile();
    reloaded.loadTodoFile();
    EXPECT_EQ(gatherLocalTasks(reloaded, fs, clock).tasks, got.tasks);
}

TEST(SyncRecords, SaveAndLoadKeepEveryField) {
    test::TempDir dir;
    std::vector<SyncRecord> records = {
        {kCal, "u1", kCal + "u1.ics", "\"e1\"", ObjectKind::Event, "20230315T080000",
         dated(kDay, 480, "Line one\r\nLine two\r\n", true)},
        {kCal, "u2", kCal + "u2.ics", "", ObjectKind::Todo, "", todo("Buy milk")}};
    records[0].synced.alarm = true;
    std::string error;
    ASSERT_TRUE(saveSyncRecords(dir.file("sync.grd"), records, error)) << error;
    EXPECT_EQ(loadSyncRecords(dir.file("sync.grd")), records);
    EXPECT_TRUE(loadSyncRecords(dir.file("missing.grd")).empty());
}

} // namespace
} // namespace dw
