#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "support/sync_cli_run.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using dw::test::RadicaleServer;
using dw::test::Result;
using dw::test::runSyncCli;
using dw::test::TempDir;

const char* const kPhoneEvent = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
                                "BEGIN:VEVENT\r\nUID:phone-1\r\nDTSTAMP:20240101T000000Z\r\n"
                                "DTSTART:20240516T071500\r\nSUMMARY:Yoga\r\nEND:VEVENT\r\n"
                                "END:VCALENDAR\r\n";

// The command line against radicale over HTTPS, with a self-signed certificate only
// --cacert makes trusted.
class SyncOverTls : public ::testing::Test {
protected:
    SyncOverTls() {
        data.write("pw", std::string(RadicaleServer::kPassword) + "\n");
        calendar.makeCalendar();
    }

    Result run(const std::vector<std::string>& args) { return runSyncCli(data, args); }
    Result sync(const std::vector<std::string>& extra, const QUrl& url = {}) {
        std::vector<std::string> args = {
            "sync",
            "--url",
            (url.isEmpty() ? server.url() : url).toString().toStdString(),
            "--user",
            RadicaleServer::kUser,
            "--password-file",
            data.file("pw")};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }
    Result syncTrusting() { return sync({"--cacert", server.certificatePath()}); }

    void putObject(const QString& name, const QString& text) { calendar.put(name, text); }
    QVector<dw::CalDavObject> objects() { return calendar.objects(); }
    // Every file of the data folder with its bytes.
    std::map<std::string, std::string> localFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(data.path()))
            if (entry.is_regular_file())
                files[entry.path().filename().string()] =
                    data.read(entry.path().filename().string());
        return files;
    }

    RadicaleServer server{RadicaleServer::Transport::Https};
    dw::test::CalendarOwner calendar{server};
    TempDir data;
};

TEST_F(SyncOverTls, TrustedCertificateSyncsBothWays) {
    ASSERT_TRUE(std::filesystem::exists(server.certificatePath()));
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);

    Result r = syncTrusting();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sent\tnew\t2024-05-15\t09:00\tDentist\n");
    const auto uploaded = objects();
    ASSERT_EQ(uploaded.size(), 1);
    EXPECT_TRUE(uploaded.front().data.contains(QStringLiteral("SUMMARY:Dentist")));

    putObject(QStringLiteral("phone.ics"), QString::fromLatin1(kPhoneEvent));
    r = syncTrusting();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "received\tnew\t2024-05-16\t07:15\tYoga\n");
    r = run({"agenda", "2024-05-16"});
    EXPECT_NE(r.out.find("Yoga"), std::string::npos) << r.out;
}

// An untrusted certificate stops the sync before anything changes on either side; trusting
// it afterwards syncs what both sides changed meanwhile.
TEST_F(SyncOverTls, UntrustedCertificateFailsCleanlyAndTheNextSyncRecovers) {
    ASSERT_EQ(run({"add", "2024-05-15", "09:00", "Dentist"}).status, 0);
    ASSERT_EQ(syncTrusting().status, 0);
    ASSERT_EQ(run({"edit", "2024-05-15", "1", "--time", "10:30"}).status, 0);
    ASSERT_EQ(run({"todo", "add", "Buy milk"}).status, 0);
    putObject(QStringLiteral("phone.ics"), QString::fromLatin1(kPhoneEvent));
    const auto before = localFiles();
    const auto serverBefore = objects();

    Result r = sync({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("dayweaver-cli: sync: The secure connection to the server failed: ", 0),
              0u)
        << r.err;
    EXPECT_EQ(localFiles(), before);
    const auto serverAfter = objects();
    ASSERT_EQ(serverAfter.size(), serverBefore.size());
    for (int i = 0; i < serverAfter.size(); ++i)
        EXPECT_EQ(serverAfter[i].etag, serverBefore[i].etag);

    r = syncTrusting();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "received\tnew\t2024-05-16\t07:15\tYoga\n"
                     "sent\tupdate\t2024-05-15\t10:30\tDentist\n"
                     "sent\tnew\tto-do\t\tBuy milk\n");
    EXPECT_EQ(objects().size(), 3);
    EXPECT_EQ(syncTrusting().out, "");
}

// The certificate names 127.0.0.1 only: trusting it does not make it good for another name
// of the same server.
TEST_F(SyncOverTls, TrustedCertificateIsRefusedForAnotherHostName) {
    QUrl byName = server.url();
    byName.setHost(QStringLiteral("localhost"));
    const Result r = sync({"--cacert", server.certificatePath()}, byName);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The secure connection to the server failed: "), std::string::npos)
        << r.err;
    EXPECT_TRUE(objects().isEmpty());
}

TEST_F(SyncOverTls, CacertFileMustHoldACertificate) {
    data.write("notes.pem", "not a certificate\n");
    const struct {
        std::string file;
        std::string error;
    } cases[] = {
        {data.file("missing.pem"), "cannot read " + data.file("missing.pem")},
        {data.file("notes.pem"), data.file("notes.pem") + " holds no PEM certificate"},
    };
    for (const auto& c : cases) {
        const Result r = sync({"--cacert", c.file});
        EXPECT_EQ(r.status, 1) << c.file;
        EXPECT_EQ(r.err, "dayweaver-cli: sync: " + c.error + "\n");
    }
}

} // namespace
