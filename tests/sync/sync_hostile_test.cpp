// The sync against a server that misbehaves on purpose: a proxy in front of the real
// calendar server that redirects elsewhere, answers uploads with 207, names hrefs outside
// the calendar, or sends too much or too slowly.

#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "sync/caldav_sync.h"
#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "support/temp_dir.h"

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::RadicaleServer;

const int kToday = dateSerialOf(2024, 5, 15);

// The hostile proxy in its own process, stopped with the test.
class HostileServer {
public:
    HostileServer(const RadicaleServer& upstream, const std::string& mode) {
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(QStringLiteral("python3"),
                       {QStringLiteral(DAYWEAVER_HOSTILE_SERVER), QStringLiteral("--upstream"),
                        QString::number(upstream.url().port()), QStringLiteral("--mode"),
                        QString::fromStdString(mode), QStringLiteral("--ports"),
                        QString::fromStdString(dir_.file("ports")), QStringLiteral("--log"),
                        QString::fromStdString(dir_.file("log")), QStringLiteral("--lifetime"),
                        QStringLiteral("240")});
        for (int i = 0; i < 200 && !QFile::exists(QString::fromStdString(dir_.file("ports")));
             ++i)
            QThread::msleep(50);
        const QStringList ports =
            QString::fromStdString(dir_.read("ports")).split(' ', Qt::SkipEmptyParts);
        if (ports.size() == 2) {
            port_ = ports[0].toInt();
            elsewhere_ = ports[1].trimmed().toInt();
        }
    }
    ~HostileServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port_)); }
    int elsewherePort() const { return elsewhere_; }
    // What was received: "PORT METHOD PATH auth|noauth", one a request.
    QStringList log() const {
        return QString::fromStdString(dir_.read("log")).split('\n', Qt::SkipEmptyParts);
    }

private:
    test::TempDir dir_;
    QProcess process_;
    int port_ = 0;
    int elsewhere_ = 0;
};

struct Outcome {
    SyncOutcome outcome = SyncOutcome::Failed;
    QString message;
    QStringList problems;
};

class SyncHostileTest : public ::testing::Test {
protected:
    SyncHostileTest() : clock(encodeDateTime(2024, 5, 15, 12, 0)), store(fs, clock) {
        store.setDataDir(dir.path());
        calendar.makeCalendar();
    }

    Outcome sync(const HostileServer& hostile, const CalDavLimits& limits = {}) {
        SyncSettings settings{hostile.url(), RadicaleServer::kUser, RadicaleServer::kPassword,
                              server.calendarPath(), false};
        settings.limits = limits;
        SyncLocalSide side{[&] { return gatherLocalTasks(store, fs, clock); },
                           [&](const LocalTasks& got, const std::vector<LocalChange>& changes) {
                               return applyLocalChanges(store, got, changes, fs).ok();
                           },
                           dir.file("sync.grd")};
        CalDavSync run(settings, side, kToday);
        Outcome out;
        QObject::connect(&run, &CalDavSync::problem,
                         [&](const QString& text) { out.problems.push_back(text); });
        QEventLoop loop;
        QObject::connect(&run, &CalDavSync::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(0, &run, &CalDavSync::start);
        QTimer::singleShot(150000, &loop, &QEventLoop::quit);
        loop.exec();
        out.outcome = run.outcome();
        out.message = run.message();
        return out;
    }
    std::vector<std::string> tasks() {
        std::vector<std::string> out;
        for (const SyncTask& t : gatherLocalTasks(store, fs, clock).tasks)
            out.push_back(t.what);
        std::sort(out.begin(), out.end());
        return out;
    }

    RadicaleServer server;
    test::CalendarOwner calendar{server};
    test::TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock;
    TaskStore store;
};

TEST_F(SyncHostileTest, EachFaultIsRefusedAndNothingIsLost) {
    struct Case {
        std::string mode;
        CalDavLimits limits;
        SyncOutcome outcome;
        std::string message; // a part of the sync's message
        int problems;        // objects named as skipped
        std::vector<std::string> tasks; // what the local store holds afterwards
        int serverObjects;
    };
    CalDavLimits small;
    small.maxBodyBytes = 1024 * 1024;
    CalDavLimits quick;
    quick.totalMs = 3000;
    const Case cases[] = {
        {"redirect", {}, SyncOutcome::Failed, "which is not the address in Options \u203a Sync, "
         "so nothing was sent there", 0, {"Dentist"}, 1},
        {"put207", {}, SyncOutcome::Skipped, "1 object was skipped", 1, {"Dentist", "Yoga"}, 1},
        {"outside", {}, SyncOutcome::Skipped, "5 objects were skipped", 5, {"Dentist", "Yoga"}, 2},
        {"huge", small, SyncOutcome::Failed, "larger than 1 MiB", 0, {"Dentist"}, 1},
        {"drip", quick, SyncOutcome::Failed, "did not finish its answer within 3 seconds", 0,
         {"Dentist"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        // Each case: a fresh store with one task, and one object on the server.
        for (const CalDavObject& o : calendar.objects())
            test::await<bool>([&](auto done) { calendar.client().remove(o.href, o.etag, done); });
        store.gridStore().setRowCount(1);
        ASSERT_TRUE(store.sortAndSaveStore());
        std::remove(dir.file("sync.grd").c_str());
        ASSERT_TRUE(store.insertTask(kToday, {"9:00 AM", "", "Dentist", false, false}));
        calendar.put("yoga.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                                 "BEGIN:VEVENT\r\nUID:yoga-1\r\nDTSTAMP:20240101T000000Z\r\n"
                                 "DTSTART:20240516T071500\r\nSUMMARY:Yoga\r\nEND:VEVENT\r\n"
                                 "END:VCALENDAR\r\n");

        HostileServer hostile(server, c.mode);
        const Outcome got = sync(hostile, c.limits);
        EXPECT_EQ(got.outcome, c.outcome) << got.message.toStdString();
        EXPECT_TRUE(got.message.contains(QString::fromStdString(c.message)))
            << got.message.toStdString();
        EXPECT_EQ(got.problems.size(), c.problems) << got.problems.join('\n').toStdString();
        EXPECT_EQ(tasks(), c.tasks);
        EXPECT_EQ(calendar.objects().size(), c.serverObjects);
        // Nothing reached another port, and nothing left the calendar's collection.
        for (const QString& line : hostile.log()) {
            const QStringList f = line.split(' ');
            ASSERT_EQ(f.size(), 4) << line.toStdString();
            EXPECT_NE(f[0].toInt(), hostile.elsewherePort()) << line.toStdString();
            EXPECT_TRUE(f[2].startsWith(server.calendarPath())) << line.toStdString();
        }
        if (c.mode == "outside") {
            for (const QString& p : got.problems)
                EXPECT_TRUE(p.contains("outside the calendar")) << p.toStdString();
        }
        if (c.mode == "put207") {
            // The upload that was not done is tried again, and the task stays here.
            const Outcome again = sync(hostile);
            EXPECT_EQ(again.outcome, SyncOutcome::Skipped);
            EXPECT_EQ(tasks(), c.tasks);
            int puts = 0;
            for (const QString& line : hostile.log())
                puts += line.contains(" PUT ");
            EXPECT_EQ(puts, 2);
        }
    }
}

// Hrefs are taken only when, resolved, they name a member of the calendar collection.
TEST(MemberPath, OnlyDirectMembersOfTheCollectionOnTheSameOrigin) {
    const QUrl base(QStringLiteral("http://host:5232/alice/tasks/"));
    const QString cal = QStringLiteral("/alice/tasks/");
    const std::pair<const char*, const char*> cases[] = {
        {"/alice/tasks/a.ics", "/alice/tasks/a.ics"},
        {"a.ics", "/alice/tasks/a.ics"},
        {"http://host:5232/alice/tasks/b%20c.ics", "/alice/tasks/b%20c.ics"},
        {"/alice/tasks/./d.ics", "/alice/tasks/d.ics"},
        {"/alice/tasks/x/../e.ics", "/alice/tasks/e.ics"},
        {"/etc/passwd", nullptr},
        {"/alice/tasks/../other/y.ics", nullptr},
        {"/alice/tasks/%2e%2e/other/z.ics", nullptr},
        {"/alice/tasks/%2E%2E%2Fother%2Fz.ics", nullptr},
        {"/alice/tasks/", nullptr},
        {"/alice/tasks/sub/f.ics", nullptr},
        {"/alice/tasksX/g.ics", nullptr},
        {"http://other:5232/alice/tasks/h.ics", nullptr},
        {"https://host:5232/alice/tasks/h.ics", nullptr},
        {"", nullptr},
    };
    for (const auto& [href, want] : cases) {
        const auto got = memberPath(base, cal, QString::fromUtf8(href));
        if (want)
            EXPECT_EQ(got.value_or(QStringLiteral("none")).toStdString(), want) << href;
        else
            EXPECT_FALSE(got.has_value()) << href << " -> " << got->toStdString();
    }
}

} // namespace
} // namespace dw
