// The sync against a server that misbehaves on purpose: a proxy in front of the real
// calendar server that redirects elsewhere, answers uploads with 207, names hrefs outside
// the calendar, or sends too much or too slowly, or a listing as large as may be read.

#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "support/sync_cli_run.h"
#include "support/temp_dir.h"
#include "sync/caldav_sync.h"

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dw {
namespace {

using test::RadicaleServer;

const int kToday = dateSerialOf(2024, 5, 15);

// The hostile proxy in its own process, stopped with the test.
class HostileServer {
public:
    // `objects`: the most objects its own full listing holds (0: as many as fit).
    HostileServer(const RadicaleServer& upstream, const std::string& mode, int objects = 0) {
        QStringList args = {QStringLiteral(DAYWEAVER_HOSTILE_SERVER),
                            QStringLiteral("--upstream"),
                            QString::number(upstream.url().port()),
                            QStringLiteral("--mode"),
                            QString::fromStdString(mode),
                            QStringLiteral("--ports"),
                            QString::fromStdString(dir_.file("ports")),
                            QStringLiteral("--log"),
                            QString::fromStdString(dir_.file("log")),
                            QStringLiteral("--listed"),
                            QString::fromStdString(dir_.file("listed")),
                            QStringLiteral("--lifetime"),
                            QStringLiteral("240")};
        if (objects > 0)
            args << QStringLiteral("--objects") << QString::number(objects);
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(QStringLiteral("python3"), args);
        for (int i = 0; i < 200 && !QFile::exists(QString::fromStdString(dir_.file("ports"))); ++i)
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
    // How many objects its own full listing held (0: it sent none).
    int listed() const { return std::atoi(dir_.read("listed").c_str()); }
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
                           [&](const LocalTasks& got, std::vector<LocalChange> changes) {
                               return applyLocalChanges(store, got, std::move(changes), fs).ok();
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
        std::string message;            // a part of the sync's message
        int problems;                   // objects named as skipped
        std::vector<std::string> tasks; // what the local store holds afterwards
        int serverObjects;
    };
    CalDavLimits small;
    small.maxBodyBytes = 1024 * 1024;
    CalDavLimits quick;
    quick.totalMs = 3000;
    const Case cases[] = {
        {"redirect",
         {},
         SyncOutcome::Failed,
         "which is not the address in Options \u203a Sync, "
         "so nothing was sent there",
         0,
         {"Dentist"},
         1},
        {"put207", {}, SyncOutcome::Skipped, "1 object was skipped", 1, {"Dentist", "Yoga"}, 1},
        {"outside", {}, SyncOutcome::Skipped, "5 objects were skipped", 5, {"Dentist", "Yoga"}, 2},
        {"huge", small, SyncOutcome::Failed, "larger than 1 MiB", 0, {"Dentist"}, 1},
        {"drip",
         quick,
         SyncOutcome::Failed,
         "did not finish its answer within 3 seconds",
         0,
         {"Dentist"},
         1},
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

// The sync command line run on `data` as runSyncCli runs it, but as this process's own child,
// so that wait4 gives its peak resident size (that of faketime and the program it waits
// for; a child starts as a copy of this process, which is far smaller than the bounds
// tested). Killed after `guardSeconds`.
struct MeasuredRun {
    test::Result result;
    long peakKiB = 0;
};

MeasuredRun runMeasured(const test::TempDir& data, const std::vector<std::string>& args,
                        int guardSeconds) {
    std::vector<std::string> env = {"LC_ALL=en_US.UTF-8", "LANG=en_US.UTF-8", "HOME=" + data.path(),
                                    "XDG_CONFIG_HOME=" + data.file("config"),
                                    "DAYWEAVER_DATA=" + data.path()};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "LC_ALL" && name != "LANG" && name != "HOME" && name != "XDG_CONFIG_HOME" &&
            name != "DAYWEAVER_DATA")
            env.push_back(entry);
    }
    std::vector<std::string> argv = {"faketime", "2024-05-15 12:00:00", DAYWEAVER_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    // Made before the fork: the child only redirects and executes.
    std::vector<char*> envp, argp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    for (std::string& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    test::TempDir io;
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = open(io.file("out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int err = open(io.file("err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    MeasuredRun run;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execvpe(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    close(in);
    close(out);
    close(err);
    if (pid < 0)
        return run;
    int status = 0;
    rusage usage{};
    for (int waited = 0; wait4(pid, &status, WNOHANG, &usage) == 0; ++waited) {
        if (waited == guardSeconds * 10) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            break;
        }
        usleep(100 * 1000);
    }
    run.result = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, io.read("out"), io.read("err")};
    run.peakKiB = usage.ru_maxrss;
    return run;
}

// A listing that the client reads whole, and the sync's own command line run on it.
struct FullListing {
    std::string mode;
    int objects;     // the most objects the server lists (0: as many as fit in 64 MiB)
    int status;      // the command line's exit status
    std::string err; // a part of its errors; none when empty
};

class SyncFullListingTest : public SyncHostileTest {
protected:
    // A minute of full listings: run with the stress tests (DAYWEAVER_STRESS=1).
    void SetUp() override {
        if (!std::getenv("DAYWEAVER_STRESS"))
            GTEST_SKIP() << "a stress test: set DAYWEAVER_STRESS=1";
    }
    // The sync of a data folder holding one task against the listing, with the peak
    // resident size of the command line that ran it. A listing it takes comes here whole
    // and the task goes there; one it refuses changes nothing on either side.
    void expectBoundedSync(const FullListing& c) {
        SCOPED_TRACE(c.mode + " " + std::to_string(c.objects));
        for (const CalDavObject& o : calendar.objects())
            test::await<bool>([&](auto done) { calendar.client().remove(o.href, o.etag, done); });
        test::TempDir data;
        data.write("pw", std::string(RadicaleServer::kPassword) + "\n");
        ASSERT_EQ(test::runSyncCli(data, {"add", "2024-05-15", "09:00", "Dentist"}).status, 0);

        HostileServer hostile(server, c.mode, c.objects);
        const MeasuredRun run =
            runMeasured(data,
                        {"sync", "--url", hostile.url().toString().toStdString(), "--user",
                         RadicaleServer::kUser, "--calendar", server.calendarPath().toStdString(),
                         "--password-file", data.file("pw")},
                        600);
        RecordProperty(c.mode + "-" + std::to_string(c.objects) + "-peak-KiB",
                       std::to_string(run.peakKiB));
        EXPECT_GT(run.peakKiB, 0);
        EXPECT_LT(run.peakKiB, 256 * 1024);
        EXPECT_EQ(run.result.status, c.status) << run.result.err.substr(0, 2000);
        ASSERT_GT(hostile.listed(), 0);
        int received = 0;
        for (std::size_t at = run.result.out.find("received\tnew\t"); at != std::string::npos;
             at = run.result.out.find("received\tnew\t", at + 1))
            ++received;
        if (c.status == 4) {
            // The one object is named and left out; the task here went there all the same.
            EXPECT_NE(run.result.err.find(c.err), std::string::npos) << run.result.err;
            EXPECT_NE(run.result.out.find("sent\tnew\t2024-05-15\t09:00\tDentist\n"),
                      std::string::npos);
            EXPECT_EQ(calendar.objects().size(), 1);
        } else if (c.err.empty()) {
            EXPECT_EQ(run.result.err, "");
            EXPECT_EQ(received, hostile.listed());
            EXPECT_NE(run.result.out.find("sent\tnew\t2024-05-15\t09:00\tDentist\n"),
                      std::string::npos);
            EXPECT_EQ(calendar.objects().size(), 1);
        } else {
            EXPECT_NE(run.result.err.find(c.err), std::string::npos) << run.result.err;
            EXPECT_EQ(run.result.out, "");
            EXPECT_TRUE(calendar.objects().isEmpty());
        }
        // The task here is kept either way.
        EXPECT_NE(test::runSyncCli(data, {"agenda", "2024-05-15"}).out.find("Dentist"),
                  std::string::npos);
    }
};

// Listings a client reads whole: as many of the smallest objects as it takes, and, just
// under the 64 MiB it reads, more of them than it takes and three larger than an object may be.
TEST_F(SyncFullListingTest, TheSyncOfAFullListingStaysWithinBoundedMemory) {
    const int most = CalDavLimits{}.maxMembers;
    const FullListing cases[] = {
        {"full-many", most, 0, ""},
        {"full-many", 0, 1,
         "named more than " + std::to_string(most) + " objects, more than a sync takes"},
        {"full-large", 0, 4, "larger than 10 MiB"},
    };
    for (const FullListing& c : cases)
        expectBoundedSync(c);
}

// Just under 64 MiB of objects whose texts are as long as a task's may be, and a single
// object of nearly 64 MiB, which is larger than an object may be and is left out named.
TEST_F(SyncFullListingTest, FullListingsOfLongTextsStayWithinBoundedMemory) {
    const FullListing cases[] = {
        {"full-described", 0, 0, ""},
        {"full-large", 1, 4, "larger than 10 MiB"},
    };
    for (const FullListing& c : cases)
        expectBoundedSync(c);
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
