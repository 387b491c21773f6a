#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "support/calendar_owner.h"
#include "support/fake_prompts.h"
#include "support/radicale_server.h"
#include "support/temp_dir.h"
#include "sync/caldav_client.h"
#include "sync/caldav_sync.h"

#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::RadicaleServer;

const int kToday = dateSerialOf(2024, 5, 15);

using test::await;

struct SyncResult {
    bool ok = false;
    QString message;
    QStringList lines;
};

class SyncServerTest : public ::testing::Test {
protected:
    SyncServerTest() : clock(encodeDateTime(2024, 5, 15, 12, 0)), store(fs, clock) {
        store.setDataDir(dir.path());
        calendar.makeCalendar();
    }

    SyncResult sync(const QString& password = RadicaleServer::kPassword,
                    std::function<void()> onPlanned = {}) {
        SyncSettings settings{server.url(), RadicaleServer::kUser, password, {}, false};
        SyncLocalSide side{[&] { return gatherLocalTasks(store, fs, clock); },
                           [&](const LocalTasks& got, std::vector<LocalChange> changes) {
                               return applyLocalChanges(store, got, std::move(changes), fs).ok();
                           },
                           dir.file("sync.grd")};
        CalDavSync run(settings, side, kToday);
        SyncResult result;
        QObject::connect(&run, &CalDavSync::changeLine,
                         [&](const QString& line) { result.lines.push_back(line); });
        if (onPlanned)
            QObject::connect(&run, &CalDavSync::planned, onPlanned);
        QEventLoop loop;
        QObject::connect(&run, &CalDavSync::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(0, &run, &CalDavSync::start);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        loop.exec();
        result.ok = run.succeeded();
        result.message = run.message();
        return result;
    }

    QVector<CalDavObject> objects() { return calendar.objects(); }
    QString objectText(const QString& summaryPart) {
        for (const CalDavObject& o : objects())
            if (o.data.contains(summaryPart))
                return o.data;
        return {};
    }
    void putObject(const QString& href, const QString& text, const QString& ifMatch = {}) {
        calendar.put(href, text, ifMatch);
    }

    void addTask(int date, const char* time, const char* what, const char* category = "") {
        ASSERT_TRUE(store.insertTask(date, {time, category, what, false, false}));
    }
    // The day view of a date as "time what".
    std::vector<std::string> day(int date) {
        store.readFromStore(date);
        std::vector<std::string> out;
        const CellTable& d = store.gridDay();
        for (int r = 1; r < d.rowCount(); ++r)
            if (!d.cell(DayCol::Time, r).empty())
                out.push_back(d.cell(DayCol::Time, r) + " " + d.cell(DayCol::What, r));
        return out;
    }
    int findRow(const std::string& what) {
        const CellTable& s = store.gridStore();
        for (int r = 1; r < s.rowCount(); ++r)
            if (s.cell(StoreCol::What, r) == what)
                return r;
        return -1;
    }
    void editStore(const std::string& what, int col, const std::string& text) {
        const int r = findRow(what);
        ASSERT_GT(r, 0) << what;
        store.gridStore().setCell(col, r, text);
        ASSERT_TRUE(store.sortAndSaveStore());
    }

    RadicaleServer server;
    test::CalendarOwner calendar{server};
    CalDavClient& owner = calendar.client();
    test::TempDir dir;
    test::FakePrompts prompts;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
};

QString eventText(const QString& uid, const QString& start, const QString& summary,
                  const QString& extra = {}) {
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20240101T000000Z\r\n"
                          "DTSTART:%2\r\nSUMMARY:%3\r\n%4END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(uid, start, summary, extra);
}

TEST_F(SyncServerTest, FirstSyncUploadsEverythingAndASecondChangesNothing) {
    addTask(kToday, "9:00 AM", "Dentist", "Health");
    addTask(kToday + 1, "2:30 PM", "Call the bank");
    store.gridNonday().setCell(TodoCol::What, 1, "Buy milk");
    store.gridNonday().setCell(TodoCol::Done, 1, "No");
    ASSERT_TRUE(store.saveTodoFile());

    const SyncResult first = sync();
    ASSERT_TRUE(first.ok) << first.message.toStdString();
    EXPECT_EQ(first.lines.size(), 3);
    EXPECT_TRUE(first.lines.contains("sent\tnew\t2024-05-15\t09:00\tDentist"));
    EXPECT_TRUE(first.lines.contains("sent\tnew\tto-do\t\tBuy milk"));
    const auto listed = objects();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(objectText("Dentist").contains("CATEGORIES:Health"));
    EXPECT_TRUE(objectText("Buy milk").contains("BEGIN:VTODO"));

    const SyncResult second = sync();
    ASSERT_TRUE(second.ok);
    EXPECT_TRUE(second.lines.isEmpty()) << second.lines.join('\n').toStdString();
}

TEST_F(SyncServerTest, ALocalEditUpdatesTheSameObject) {
    addTask(kToday, "9:00 AM", "Dentist");
    ASSERT_TRUE(sync().ok);
    const CalDavObject before = objects().at(0);

    editStore("Dentist", StoreCol::What, "Dentist, bring the card");
    editStore("Dentist, bring the card", StoreCol::Done, "Yes");
    const SyncResult edited = sync();
    ASSERT_TRUE(edited.ok) << edited.message.toStdString();
    EXPECT_EQ(edited.lines,
              QStringList{"sent\tupdate\t2024-05-15\t09:00\tDentist, bring the card"});
    const auto after = objects();
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0].href, before.href);
    EXPECT_NE(after[0].etag, before.etag);
    const QString uid = before.data.section(QStringLiteral("UID:"), 1)
                            .section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0);
    EXPECT_TRUE(after[0].data.contains("UID:" + uid));
    EXPECT_TRUE(after[0].data.contains("X-DAYWEAVER-DONE:YES"));
}

TEST_F(SyncServerTest, AServerSidePutReachesTheDayView) {
    putObject(server.calendarPath() + "phone.ics",
              eventText("phone-1", "20240516T071500", "Yoga",
                        "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\n"
                        "DESCRIPTION:Yoga\r\nEND:VALARM\r\n"));
    const SyncResult got = sync();
    ASSERT_TRUE(got.ok) << got.message.toStdString();
    EXPECT_EQ(got.lines, QStringList{"received\tnew\t2024-05-16\t07:15\tYoga"});
    EXPECT_EQ(day(kToday + 1), std::vector<std::string>{"7:15 AM Yoga"});
    EXPECT_EQ(store.gridDay().cell(DayCol::Alarm, 1), "Yes");
}

TEST_F(SyncServerTest, DeletionsGoBothWays) {
    addTask(kToday, "9:00 AM", "Deleted here");
    addTask(kToday, "10:00 AM", "Deleted there");
    ASSERT_TRUE(sync().ok);
    editStore("Deleted here", StoreCol::Key, "");
    for (const CalDavObject& o : objects()) {
        if (o.data.contains("Deleted there")) {
            ASSERT_TRUE(
                await<bool>([&](auto done) { owner.remove(o.href, o.etag, done); }).first.ok());
        }
    }
    const SyncResult got = sync();
    ASSERT_TRUE(got.ok) << got.message.toStdString();
    EXPECT_EQ(got.lines, (QStringList{"received\tdelete\t2024-05-15\t10:00\tDeleted there",
                                      "sent\tdelete\t2024-05-15\t09:00\tDeleted here"}));
    EXPECT_TRUE(objects().isEmpty());
    EXPECT_TRUE(day(kToday).empty());
}

TEST_F(SyncServerTest, AConflictKeepsBothVersions) {
    addTask(kToday, "9:00 AM", "Dentist");
    ASSERT_TRUE(sync().ok);
    const CalDavObject o = objects().at(0);
    putObject(o.href, QString(o.data).replace("SUMMARY:Dentist", "SUMMARY:Dentist moved"), o.etag);
    editStore("Dentist", StoreCol::What, "Dentist, local note");

    const SyncResult got = sync();
    ASSERT_TRUE(got.ok) << got.message.toStdString();
    EXPECT_EQ(day(kToday), (std::vector<std::string>{"9:00 AM Dentist moved",
                                                     "9:00 AM Dentist, local note (conflict)"}));
    EXPECT_EQ(objects().size(), 2);
    EXPECT_FALSE(objectText("local note (conflict)").isEmpty());
    EXPECT_TRUE(sync().lines.isEmpty());
}

TEST_F(SyncServerTest, AWeeklySeriesShowsOnItsDatesAndALocalDeletionAddsAnExdate) {
    // Mondays from 6 May 2024, five of them, without 20 May.
    putObject(server.calendarPath() + "standup.ics",
              eventText("series-1", "20240506T083000", "Standup",
                        "RRULE:FREQ=WEEKLY;COUNT=5\r\nEXDATE:20240520T083000\r\n"));
    ASSERT_TRUE(sync().ok);
    const int may6 = dateSerialOf(2024, 5, 6);
    for (const int week : {0, 1, 3, 4})
        EXPECT_EQ(day(may6 + 7 * week), std::vector<std::string>{"8:30 AM Standup"}) << week;
    EXPECT_TRUE(day(may6 + 14).empty());

    // Delete 27 May here and move 3 June to nine o'clock.
    store.readFromStore(may6 + 21);
    ASSERT_TRUE(store.deleteEntry(store.gridDay(), 1, true, may6 + 21));
    for (int r = 1; r < store.gridStore().rowCount(); ++r)
        if (store.keyDate(r) == may6 + 28)
            store.gridStore().setCell(StoreCol::Time, r, "9:00 AM");
    ASSERT_TRUE(store.sortAndSaveStore());

    const SyncResult got = sync();
    ASSERT_TRUE(got.ok) << got.message.toStdString();
    const auto listed = objects();
    ASSERT_EQ(listed.size(), 1); // still one series, never separate events
    EXPECT_TRUE(listed[0].data.contains("EXDATE:20240527T083000"));
    EXPECT_TRUE(listed[0].data.contains("RECURRENCE-ID:20240603T083000"));
    EXPECT_TRUE(sync().lines.isEmpty());
    EXPECT_EQ(day(may6 + 28), std::vector<std::string>{"9:00 AM Standup"});
    EXPECT_TRUE(day(may6 + 21).empty());
}

TEST_F(SyncServerTest, WrongPasswordAndStoppedServerFailClearlyAndTheNextSyncRecovers) {
    addTask(kToday, "9:00 AM", "Dentist");
    const SyncResult refused = sync(QStringLiteral("wrong"));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message.toStdString(), "The server sent the password prompt again: check the "
                                             "user name and password in Options \u203a Sync.");

    server.stop();
    const SyncResult unreachable = sync();
    EXPECT_FALSE(unreachable.ok);
    EXPECT_TRUE(unreachable.message.startsWith("The server could not be reached"))
        << unreachable.message.toStdString();
    EXPECT_EQ(day(kToday), std::vector<std::string>{"9:00 AM Dentist"});

    ASSERT_TRUE(server.start());
    const SyncResult recovered = sync();
    ASSERT_TRUE(recovered.ok) << recovered.message.toStdString();
    EXPECT_EQ(recovered.lines, QStringList{"sent\tnew\t2024-05-15\t09:00\tDentist"});
    EXPECT_EQ(objects().size(), 1);
}

// The server's object changes between the listing and the upload: the upload's 412 makes
// the sync fetch again, and both versions are kept.
TEST_F(SyncServerTest, AnObjectChangedDuringTheSyncIsFetchedAgainNotOverwritten) {
    addTask(kToday, "9:00 AM", "Dentist");
    ASSERT_TRUE(sync().ok);
    editStore("Dentist", StoreCol::What, "Dentist, local");
    bool changedOnce = false;
    const SyncResult got = sync(RadicaleServer::kPassword, [&] {
        if (changedOnce)
            return;
        changedOnce = true;
        const CalDavObject o = objects().at(0);
        putObject(o.href, QString(o.data).replace("SUMMARY:Dentist", "SUMMARY:Dentist remote"),
                  o.etag);
    });
    ASSERT_TRUE(changedOnce);
    ASSERT_TRUE(got.ok) << got.message.toStdString();
    EXPECT_EQ(day(kToday), (std::vector<std::string>{"9:00 AM Dentist remote",
                                                     "9:00 AM Dentist, local (conflict)"}));
    EXPECT_FALSE(objectText("Dentist remote").isEmpty());
    EXPECT_FALSE(objectText("local (conflict)").isEmpty());
}

TEST_F(SyncServerTest, DiscoveryFindsTheUsersCalendars) {
    const auto found =
        await<QVector<CalendarInfo>>([&](auto done) { owner.discoverCalendars(done); });
    ASSERT_TRUE(found.first.ok()) << found.first.message.toStdString();
    ASSERT_EQ(found.second.size(), 1);
    EXPECT_EQ(found.second[0].href, server.calendarPath());
    EXPECT_EQ(found.second[0].displayName, "Tasks");
    const auto token =
        await<QString>([&](auto done) { owner.syncToken(server.calendarPath(), done); });
    EXPECT_FALSE(token.second.isEmpty());
}

} // namespace
} // namespace dw
