// Synchronise now, the timer's syncs, the options' Sync page and the keyring, met through
// the main window against a real calendar server.

#include "app/settings/options_dialog.h"
#include "app/sync/password_dialog.h"
#include "app/sync/password_keyring.h"
#include "app/sync/sync_commands.h"
#include "app/task_window_fixture.h"
#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "sync/caldav_account.h"
#include "sync/caldav_client.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextCursor>
#include <map>

QT_BEGIN_NAMESPACE
// Readable failures for the texts compared below.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace dw {
namespace {

using test::RadicaleServer;

// A keyring in memory, or none at all ("no secret service").
class FakeKeyring : public PasswordKeyring {
public:
    bool available = true;
    std::map<QString, QString> kept;

    void read(const QString& key, Done done) override {
        KeyringAnswer a;
        if (!available) {
            a.error = "The name org.freedesktop.secrets was not provided by any .service files";
        } else if (kept.count(key)) {
            a.status = KeyringAnswer::Status::Found;
            a.password = kept[key];
        } else {
            a.status = KeyringAnswer::Status::NotFound;
        }
        done(a);
    }
    void write(const QString& key, const QString& password, Done done) override {
        KeyringAnswer a;
        if (available) {
            kept[key] = password;
            a.status = KeyringAnswer::Status::Found;
        }
        done(a);
    }
};

class SyncWindowTest : public test::TaskWindowTest {
protected:
    SyncWindowTest() {
        setPasswordKeyring(&keyring_);
        calendar_.makeCalendar();
        saveSyncAccount(account());
        keyring_.kept[keyringKey(account())] = RadicaleServer::kPassword;
    }
    ~SyncWindowTest() override {
        composition_.reset();
        setPasswordKeyring(nullptr);
        saveSyncAccount({});
    }

    SyncAccount account() const {
        return {server_.url().toString(), RadicaleServer::kUser, server_.calendarPath(), 0};
    }
    SyncCommands& sync() { return *window().findChild<SyncCommands*>("syncCommands"); }
    QString status() { return sync().statusLabel()->text(); }

    // Runs a sync the way it is asked for and waits for its end; false when it failed.
    bool runSync(SyncCommands::Trigger trigger = SyncCommands::Trigger::User) {
        QSignalSpy finished(&sync(), &SyncCommands::finished);
        if (trigger == SyncCommands::Trigger::User)
            window().action("synchroniseAction")->trigger();
        else
            sync().synchronise(trigger);
        EXPECT_TRUE(finished.count() == 1 || finished.wait(60000));
        return !finished.isEmpty() && finished.at(0).at(0).toBool();
    }

    QVector<CalDavObject> objects() { return calendar_.objects(); }
    QStringList summaries() {
        QStringList out;
        for (const CalDavObject& o : objects())
            out << o.data.section("SUMMARY:", 1).section(QRegularExpression("[\r\n]"), 0, 0);
        out.sort();
        return out;
    }

    RadicaleServer server_;
    test::CalendarOwner calendar_{server_};
    FakeKeyring keyring_;
};

TEST_F(SyncWindowTest, SynchroniseNowSendsTheWindowsTasksWithTheNotesPaneEdit) {
    writeStore({{"36526.101", "9:00 AM", "Health", "Dentist", "No", "Yes"}});
    writeTodo({{"Home", "Buy milk", "No"}});
    MainWindow& w = shown();
    // An edit still in the notes pane is part of what is sent.
    w.gridDay()->selectTableRow(1);
    w.notesPane()->setFocus();
    w.notesPane()->moveCursor(QTextCursor::End);
    w.notesPane()->insertPlainText(" at 9");

    ASSERT_TRUE(runSync()) << status().toStdString();
    EXPECT_EQ(summaries(), (QStringList{"Buy milk", "Dentist at 9"}));
    EXPECT_EQ(status(), "Synchronised 9:00 AM: 2 sent, 0 received");
    EXPECT_TRUE(prompts_.errors.empty());
    EXPECT_EQ(fileRows("grid.grd"), test::Rows{"36526.101|9:00 AM|Health|Dentist at 9|No|Yes"});
    // Who is who on the server is kept beside the tasks.
    EXPECT_EQ(fileRows("sync.grd").size(), 2u);

    // Nothing changed since: nothing goes either way.
    ASSERT_TRUE(runSync());
    EXPECT_EQ(status(), "Synchronised 9:00 AM: 0 sent, 0 received");
    EXPECT_EQ(objects().size(), 2);
}

TEST_F(SyncWindowTest, ChangesMadeOnTheServerReachTheDayViewTheToDoListAndTheFiles) {
    MainWindow& w = shown();
    ASSERT_EQ(w.selectedDate(), test::kToday);
    calendar_.put("phone.ics",
                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                  "UID:phone-1\r\nDTSTAMP:20000101T000000Z\r\nDTSTART:20000101T101500\r\n"
                  "SUMMARY:Yoga\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    calendar_.put("list.ics",
                  "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VTODO\r\n"
                  "UID:phone-2\r\nDTSTAMP:20000101T000000Z\r\nSUMMARY:Renew passport\r\n"
                  "END:VTODO\r\nEND:VCALENDAR\r\n");

    ASSERT_TRUE(runSync()) << status().toStdString();
    EXPECT_EQ(status(), "Synchronised 9:00 AM: 0 sent, 2 received");
    EXPECT_EQ(dayRows(), test::Rows{"10:15 AM||Yoga|No|No"});
    EXPECT_EQ(w.gridDay()->table().cell(DayCol::What, 1), "Yoga");
    EXPECT_EQ(todoRows(), test::Rows{"|Renew passport|No"});
    EXPECT_EQ(fileRows("grid.grd"), test::Rows{"36526.101|10:15 AM||Yoga|No|No"});
    EXPECT_EQ(fileRows("gridNon.grd"), test::Rows{"|Renew passport|No"});

    // A later change in the window writes the day view back: the received task stays.
    commands().toggleAlarm();
    EXPECT_EQ(fileRows("grid.grd"), test::Rows{"36526.101|10:15 AM||Yoga|No|Yes"});
}

TEST_F(SyncWindowTest, AWrongPasswordIsToldAndTheNextSyncRecovers) {
    writeStore({{"36526.101", "9:00 AM", "", "Dentist", "No", "No"}});
    shown();
    keyring_.kept[keyringKey(account())] = "not the password";

    // The timer tells the status bar only; the user's own request also gets a box.
    EXPECT_FALSE(runSync(SyncCommands::Trigger::Timer));
    EXPECT_EQ(status(), "Sync failed 9:00 AM: The server sent the password prompt again: check the "
                        "user name and password in Options \u203a Sync.");
    EXPECT_TRUE(prompts_.errors.empty());
    EXPECT_FALSE(runSync());
    EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Synchronisation failed: The server sent "
                                                        "the password prompt again: check the "
                                                        "user name and password in Options "
                                                        "\u203a Sync."});
    EXPECT_TRUE(objects().isEmpty());

    // The status stays until the next sync, which finds everything still to send.
    keyring_.kept[keyringKey(account())] = RadicaleServer::kPassword;
    ASSERT_TRUE(runSync(SyncCommands::Trigger::Timer)) << status().toStdString();
    EXPECT_EQ(status(), "Synchronised 9:00 AM: 1 sent, 0 received");
    EXPECT_EQ(summaries(), QStringList{"Dentist"});
    EXPECT_EQ(fileRows("grid.grd"), test::Rows{"36526.101|9:00 AM||Dentist|No|No"});
}

// An emptied calendar would empty the window: the sync asks first, showing the count.
TEST_F(SyncWindowTest, ASyncThatWouldDeleteEveryTaskAsksFirst) {
    writeStore({{"36526.101", "9:00 AM", "", "Dentist", "No", "No"},
                {"36526.102", "10:00 AM", "", "Bank", "No", "No"}});
    shown();
    ASSERT_TRUE(runSync()) << status().toStdString();
    for (const CalDavObject& o : objects())
        ASSERT_TRUE(test::await<bool>([&](auto done) {
                        calendar_.client().remove(o.href, o.etag, done);
                    }).first.ok());

    const std::string question =
        "The sync would delete 2 tasks here: every task synced last time is gone from the "
        "server (was the calendar emptied, or is it another one?). Go ahead and delete them?";
    prompts_.setNextAnswer(test::FakePrompts::No);
    EXPECT_FALSE(runSync());
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{question});
    EXPECT_EQ(dayRows().size(), 2u);

    prompts_.questions.clear();
    prompts_.setNextAnswer(test::FakePrompts::Yes);
    ASSERT_TRUE(runSync()) << status().toStdString();
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{question});
    EXPECT_EQ(status(), "Synchronised 9:00 AM: 0 sent, 2 received");
    EXPECT_EQ(fileRows("grid.grd"), test::Rows{});
}

TEST_F(SyncWindowTest, TheServerStoppedIsToldAndNothingIsLost) {
    writeStore({{"36526.101", "9:00 AM", "", "Dentist", "No", "No"}});
    shown();
    server_.stop();
    EXPECT_FALSE(runSync(SyncCommands::Trigger::Timer));
    EXPECT_TRUE(status().startsWith("Sync failed 9:00 AM: The server could not be reached"))
        << status().toStdString();
    EXPECT_EQ(dayRows(), test::Rows{"9:00 AM||Dentist|No|No"});

    ASSERT_TRUE(server_.start());
    ASSERT_TRUE(runSync()) << status().toStdString();
    EXPECT_EQ(summaries(), QStringList{"Dentist"});
}

TEST_F(SyncWindowTest, WithoutAKeyringThePasswordIsAskedAtEachSyncAndNotKept) {
    keyring_.available = false;
    keyring_.kept.clear();
    writeStore({{"36526.101", "9:00 AM", "", "Dentist", "No", "No"}});
    shown();
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        test::whenModal<PasswordDialog>([](PasswordDialog* d) {
            EXPECT_EQ(d->passwordEdit()->echoMode(), QLineEdit::Password);
            d->passwordEdit()->setText(RadicaleServer::kPassword);
            d->accept();
        });
        ASSERT_TRUE(runSync()) << status().toStdString();
    }
    EXPECT_TRUE(keyring_.kept.empty());
    EXPECT_EQ(summaries(), QStringList{"Dentist"});

    // Cancelled: nothing is sent, no box, the status says why.
    test::whenModal<PasswordDialog>([](PasswordDialog* d) { d->reject(); });
    EXPECT_FALSE(runSync());
    EXPECT_EQ(status(), "Sync failed 9:00 AM: No password was given.");
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(SyncWindowTest, AKeyringWithNoPasswordYetKeepsTheOneThatWorked) {
    keyring_.kept.clear();
    shown();
    int asked = 0;
    sync().setAskPassword([&](const QString& user, const QString& host) {
        ++asked;
        EXPECT_EQ(user, "alice");
        EXPECT_EQ(host, "127.0.0.1");
        return std::optional<QString>(RadicaleServer::kPassword);
    });
    ASSERT_TRUE(runSync()) << status().toStdString();
    ASSERT_TRUE(runSync());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(keyring_.kept[keyringKey(account())], RadicaleServer::kPassword);
}

TEST_F(SyncWindowTest, TheOptionsPageStoresTheAccountAndTheCalendarFound) {
    saveSyncAccount({});
    keyring_.kept.clear();
    // A second calendar, so that the choice means something.
    ASSERT_TRUE(calendar_.makeCalendar("/alice/family/", "Family"));
    OptionsDialog options(state_->options(), state_->settings(), prompts_, dir_.file("dayweaver"),
                          dir_.path());
    options.show();
    auto* pages = options.findChild<QTabWidget*>("pages");
    pages->setCurrentWidget(options.findChild<QWidget*>("syncPage"));
    auto* server = options.findChild<QLineEdit*>("syncServerEdit");
    auto* calendars = options.findChild<QComboBox*>("calendarCombo");
    auto* find = options.findChild<QPushButton*>("findCalendarsButton");
    auto* result = options.findChild<QLabel*>("findResult");
    auto* page = options.findChild<QWidget*>("syncPage");

    // Without a password there is nothing to ask the server with.
    server->setText(server_.url().toString());
    options.findChild<QLineEdit*>("syncUserEdit")->setText("alice");
    QTest::mouseClick(find, Qt::LeftButton);
    EXPECT_EQ(result->text(), "Type the password to find the calendars.");

    options.findChild<QLineEdit*>("syncPasswordEdit")->setText(RadicaleServer::kPassword);
    QSignalSpy searched(page, SIGNAL(calendarsSearched(bool)));
    QTest::mouseClick(find, Qt::LeftButton);
    ASSERT_TRUE(searched.wait(60000));
    ASSERT_TRUE(searched.at(0).at(0).toBool()) << result->text().toStdString();
    // First the choice of whichever calendar comes first, then each calendar found.
    QStringList offered;
    for (int i = 1; i < calendars->count(); ++i)
        offered << calendars->itemData(i).toString();
    offered.sort();
    EXPECT_EQ(calendars->itemData(0).toString(), "");
    EXPECT_EQ(offered, (QStringList{"/alice/family/", "/alice/tasks/"}));
    EXPECT_EQ(result->text(), "2 calendars found.");
    calendars->setCurrentIndex(calendars->findData("/alice/family/"));
    auto* interval = options.findChild<QComboBox*>("syncIntervalCombo");
    interval->setCurrentIndex(interval->findData(15));

    QTest::mouseClick(options.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    const SyncAccount saved = loadSyncAccount();
    EXPECT_EQ(saved.server, server_.url().toString());
    EXPECT_EQ(saved.user, "alice");
    EXPECT_EQ(saved.calendar, "/alice/family/");
    EXPECT_EQ(saved.intervalMinutes, 15);
    EXPECT_EQ(keyring_.kept[keyringKey(saved)], RadicaleServer::kPassword);

    // Shown again, the page holds what was saved and no password text.
    options.show();
    EXPECT_EQ(calendars->currentData().toString(), "/alice/family/");
    EXPECT_EQ(interval->currentData().toInt(), 15);
    EXPECT_TRUE(options.findChild<QLineEdit*>("syncPasswordEdit")->text().isEmpty());
}

TEST_F(SyncWindowTest, AnAddressThatIsNoServersIsRefusedAndNotSaved) {
    OptionsDialog options(state_->options(), state_->settings(), prompts_, dir_.file("dayweaver"),
                          dir_.path());
    options.findChild<QLineEdit*>("syncServerEdit")->setText("calendar.example.org");
    EXPECT_FALSE(options.saveSettings());
    EXPECT_EQ(prompts_.errors.size(), 1u);
    EXPECT_EQ(loadSyncAccount().server, account().server);
}

} // namespace
} // namespace dw
