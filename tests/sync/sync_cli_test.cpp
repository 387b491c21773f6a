#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "support/sync_cli_run.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using dw::test::RadicaleServer;
using dw::test::Result;
using dw::test::runSyncCli;
using dw::test::TempDir;

// The command line against radicale: the calendar is the user's first, found by discovery.
class SyncCli : public ::testing::Test {
protected:
    SyncCli() {
        data.write("pw", std::string(RadicaleServer::kPassword) + "\n");
        calendar.makeCalendar();
    }
    Result run(const std::vector<std::string>& args) { return runSyncCli(data, args); }
    std::vector<std::string> account() {
        return {"--url", server.url().toString().toStdString(), "--user", RadicaleServer::kUser};
    }
    Result sync(std::vector<std::string> extra) {
        std::vector<std::string> args = {"sync"};
        for (const auto& a : account())
            args.push_back(a);
        for (const auto& a : extra)
            args.push_back(a);
        return run(args);
    }

    void emptyServer() {
        for (const dw::CalDavObject& o : objects())
            ASSERT_TRUE(dw::test::await<bool>([&](auto done) {
                            calendar.client().remove(o.href, o.etag, done);
                        }).first.ok());
    }
    std::vector<std::string> backups() {
        std::vector<std::string> names;
        const auto folder = std::filesystem::path(data.path()) / "sync-backups";
        if (std::filesystem::exists(folder))
            for (const auto& e : std::filesystem::directory_iterator(folder))
                if (e.path().extension() == ".arb")
                    names.push_back(e.path().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The server's objects, listed by the test's own client.
    QVector<dw::CalDavObject> objects() { return calendar.objects(); }
    void putObject(const QString& name, const QString& text) { calendar.put(name, text); }

    RadicaleServer server;
    dw::test::CalendarOwner calendar{server};
    TempDir data;
};

TEST_F(SyncCli, SyncPrintsEachChangeAndEditsKeepTheirObject) {
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_EQ(run({"todo", "add", "Buy milk"}).status, 0);

    Result r = sync({"--password-file", data.file("pw"), "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent\tnew\t2024-05-15\t09:00\tDentist\nsent\tnew\tto-do\t\tBuy milk\n");
    r = sync({"--password-file", data.file("pw")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent\tnew\t2024-05-15\t09:00\tDentist\nsent\tnew\tto-do\t\tBuy milk\n");

    ASSERT_EQ(run({"edit", "2024-05-15", "1", "--time", "10:30"}).status, 0);
    r = sync({"--password-file", data.file("pw")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent\tupdate\t2024-05-15\t10:30\tDentist\n");

    ASSERT_EQ(run({"delete", "2024-05-15", "1"}).status, 0);
    r = sync({"--password-file", data.file("pw")});
    EXPECT_EQ(r.out, "sent\tdelete\t2024-05-15\t10:30\tDentist\n");
    r = sync({"--password-file", data.file("pw")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

// A dry run prints what a sync would do both ways and changes nothing on either side.
TEST_F(SyncCli, ADryRunWritesNothingAnywhere) {
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    putObject("phone.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                           "BEGIN:VEVENT\r\nUID:phone-1\r\nDTSTAMP:20240101T000000Z\r\n"
                           "DTSTART:20240516T071500\r\nSUMMARY:Yoga\r\nEND:VEVENT\r\n"
                           "END:VCALENDAR\r\n");
    const std::string grid = data.read("grid.grd");
    const Result r = sync({"--password-file", data.file("pw"), "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "received\tnew\t2024-05-16\t07:15\tYoga\n"
                     "sent\tnew\t2024-05-15\t09:00\tDentist\n");
    EXPECT_EQ(data.read("grid.grd"), grid);
    EXPECT_FALSE(std::filesystem::exists(data.file("sync.grd")));
    EXPECT_EQ(objects().size(), 1);
}

// The running program is the folder's one writer: the command line leaves the sync to it.
TEST_F(SyncCli, ARunningProgramIsLeftToSyncItself) {
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, data));
    const Result r = sync({"--password-file", data.file("pw")});
    std::system(("kill " + data.read("holder.pid")).c_str());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: sync: Dayweaver is running with the data folder " +
                         data.path() +
                         "; use its File \u203a \"Synchronise now\" to sync while it runs\n");
    EXPECT_TRUE(objects().isEmpty());
}

// A side emptied by mistake must not empty the other: the sync stops before changing
// anything, says how many tasks it would delete, and exits 3.
TEST_F(SyncCli, AnEmptiedSideStopsTheSyncUntilDeletionsAreAllowed) {
    const std::string pw = data.file("pw");
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_EQ(run({"add", "2024-05-16", "10:00", "Bank"}).status, 0);
    ASSERT_EQ(run({"todo", "add", "Buy milk"}).status, 0);
    ASSERT_EQ(sync({"--password-file", pw}).status, 0);
    ASSERT_EQ(objects().size(), 3);

    emptyServer();
    const std::string grid = data.read("grid.grd");
    const std::string records = data.read("sync.grd");
    Result r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "dayweaver-cli: sync: The sync would delete 3 tasks here: every task synced "
                     "last time is gone from the server (was the calendar emptied, or is it "
                     "another one?). Nothing was changed. If that is what you want, run the sync "
                     "again with --allow-deletions.\n");
    EXPECT_EQ(data.read("grid.grd"), grid);
    EXPECT_EQ(data.read("sync.grd"), records);
    EXPECT_TRUE(backups().empty());

    // Allowed, it goes ahead, and keeps the tasks as they were first.
    r = sync({"--password-file", pw, "--allow-deletions"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "received\tdelete\t2024-05-15\t09:00\tDentist\n"
                     "received\tdelete\t2024-05-16\t10:00\tBank\n"
                     "received\tdelete\tto-do\t\tBuy milk\n");
    EXPECT_EQ(run({"agenda", "2024-05-15", "2024-05-16"}).out, "");
    const auto kept = backups();
    ASSERT_EQ(kept.size(), 1u);

    // Restoring that backup and syncing puts the tasks back on the server.
    ASSERT_EQ(run({"restore", kept[0]}).status, 0);
    r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(objects().size(), 3);
    r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(SyncCli, AnEmptiedStoreDoesNotEmptyTheServer) {
    const std::string pw = data.file("pw");
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_EQ(run({"add", "2024-05-16", "10:00", "Bank"}).status, 0);
    ASSERT_EQ(sync({"--password-file", pw}).status, 0);
    ASSERT_EQ(run({"delete", "2024-05-15", "1"}).status, 0);
    ASSERT_EQ(run({"delete", "2024-05-16", "1"}).status, 0);

    Result r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("would delete 2 tasks on the server"), std::string::npos) << r.err;
    EXPECT_EQ(objects().size(), 2);
    // A dry run says the same and exits the same way.
    r = sync({"--password-file", pw, "--dry-run"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(objects().size(), 2);

    r = sync({"--password-file", pw, "--allow-deletions"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(objects().isEmpty());
}

// The first sync keeps the calendar it found; one added on the server later, first in the
// listing or not, changes nothing here.
TEST_F(SyncCli, TheCalendarFoundFirstStaysChosen) {
    const std::string pw = data.file("pw");
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_EQ(sync({"--password-file", pw}).status, 0);
    EXPECT_EQ(data.read("sync-calendar.txt"),
              server.url().adjusted(QUrl::RemovePath).toString().toStdString() +
                  " alice\n/alice/tasks/\n");
    ASSERT_TRUE(calendar.makeCalendar(QStringLiteral("/alice/aaa/"), QStringLiteral("Another")));
    ASSERT_EQ(run({"add", "2024-05-16", "10:00", "Bank"}).status, 0);
    Result r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent\tnew\t2024-05-16\t10:00\tBank\n");
    EXPECT_EQ(objects().size(), 2);

    // The other calendar's tasks stay there, whichever the server lists first ...
    putObject(QStringLiteral("/alice/aaa/elsewhere.ics"),
              QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                             "BEGIN:VEVENT\r\nUID:e-1\r\nDTSTAMP:20240101T000000Z\r\n"
                             "DTSTART:20240517T080000\r\nSUMMARY:Elsewhere\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n"));
    r = sync({"--password-file", pw});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    // ... and it is the kept choice, not the listing, that decides: pointed at the other
    // calendar, a dry run would take its task.
    data.write("sync-calendar.txt",
               server.url().adjusted(QUrl::RemovePath).toString().toStdString() +
                   " alice\n/alice/aaa/\n");
    r = sync({"--password-file", pw, "--dry-run"});
    EXPECT_NE(r.out.find("received\tnew\t2024-05-17\t08:00\tElsewhere"), std::string::npos)
        << r.out << r.err;
}

// An object the program cannot read is named and left alone, the rest goes on, and the
// exit status says that something was skipped; the next sync tries it again.
TEST_F(SyncCli, AnUnreadableObjectIsSkippedAndTheRestSynced) {
    putObject(QStringLiteral("broken.ics"),
              QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                             "BEGIN:VEVENT\r\nUID:b-1\r\nDTSTAMP:20240101T000000Z\r\n"
                             "DTSTART:20240515T080000\r\nRRULE:FREQ=SECONDLY\r\n"
                             "SUMMARY:Broken\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n"));
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const Result r = sync({"--password-file", data.file("pw")});
        EXPECT_EQ(r.status, 4) << r.err;
        EXPECT_NE(r.err.find("skipped /alice/tasks/broken.ics: a repeat rule with too many dates"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, round == 0 ? "sent\tnew\t2024-05-15\t09:00\tDentist\n" : "");
        EXPECT_EQ(objects().size(), 2);
    }
    const Result found = run({"find", "Broken"});
    EXPECT_EQ(found.out.find("Broken"), std::string::npos) << found.out;
}

TEST_F(SyncCli, NetrcMustBeOwnersOnlyAndFailuresExitOne) {
    const std::string host = server.url().host().toStdString();
    data.write(".netrc",
               "machine " + host + " login alice password " + RadicaleServer::kPassword + "\n");
    std::filesystem::permissions(data.file(".netrc"), std::filesystem::perms(0644));
    Result r = sync({"--netrc"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("chmod 600"), std::string::npos) << r.err;

    std::filesystem::permissions(data.file(".netrc"), std::filesystem::perms(0600));
    r = sync({"--netrc"});
    EXPECT_EQ(r.status, 0) << r.err;

    data.write("bad", "nope\n");
    r = sync({"--password-file", data.file("bad")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("sent the password prompt again"), std::string::npos) << r.err;
    server.stop();
    r = sync({"--netrc"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not be reached"), std::string::npos) << r.err;
}

} // namespace
