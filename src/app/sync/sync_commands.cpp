#include "app/sync/sync_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/day_notes.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/sync/password_dialog.h"
#include "app/sync/password_keyring.h"
#include "core/commands/write_commands.h"
#include "core/dates/date_serial.h"
#include "core/editing/task_commands.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"
#include "core/sync/local_tasks.h"
#include "core/sync/sync_backups.h"
#include "core/sync/sync_records.h"
#include "sync/caldav_sync.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

namespace dw {
namespace {

// The timer looks once a minute whether the interval has passed.
constexpr int kScheduleCheckMs = 60 * 1000;

QString hostOf(const SyncAccount& account) {
    return QUrl(account.server.trimmed()).host();
}

} // namespace

SyncCommands::SyncCommands(QMainWindow& window, const MainActions& actions, DayNotes& notes,
                           AppState& state)
    : QObject(&window), window_(window), actions_(actions), notes_(notes), state_(state) {
    setObjectName("syncCommands");
    status_ = new QLabel(&window);
    status_->setObjectName("syncStatus");
    window.statusBar()->addPermanentWidget(status_);
    askPassword_ = [this](const QString& user, const QString& host) {
        return askSyncPassword(&window_, user, host);
    };
    connect(actions_.synchronise, &QAction::triggered, this,
            [this] { synchronise(Trigger::User); });
    sinceLastStart_.start();
    timer_ = new QTimer(this);
    timer_->setInterval(kScheduleCheckMs);
    connect(timer_, &QTimer::timeout, this, &SyncCommands::checkSchedule);
    timer_->start();
}

SyncCommands::~SyncCommands() = default;

void SyncCommands::checkSchedule() {
    // Not under an open dialog (an editor, the options): the next look comes a minute later.
    if (running_ || QApplication::activeModalWidget())
        return;
    const int minutes = loadSyncAccount().intervalMinutes;
    if (minutes > 0 && sinceLastStart_.elapsed() >= qint64(minutes) * 60 * 1000)
        synchronise(Trigger::Timer);
}

void SyncCommands::synchronise(Trigger trigger) {
    if (running_)
        return;
    sinceLastStart_.restart();
    const SyncAccount account = loadSyncAccount();
    if (account.server.trimmed().isEmpty() || account.user.isEmpty())
        return done(false,
                    "Sync is not set up: give the server and the user name on the Sync page "
                    "of the options.",
                    trigger);
    // A program that cannot write its folder could not keep what the server sends.
    if (!readOnlyDataFolder().empty())
        return done(false, QString::fromStdString(readOnlyFolderRefusal(state_.paths().dataDir)),
                    trigger);
    running_ = true;
    actions_.synchronise->setEnabled(false);
    status_->setText("Synchronising...");
    QPointer<SyncCommands> alive(this);
    passwordKeyring().read(
        keyringKey(account), [this, alive, account, trigger](const KeyringAnswer& kept) {
            if (!alive)
                return;
            if (kept.status == KeyringAnswer::Status::Found)
                return run(account, kept.password, trigger, false);
            const std::optional<QString> typed = askPassword_(account.user, hostOf(account));
            if (!typed) {
                // The user said no: nothing to tell in a box.
                return done(false, "No password was given.", Trigger::Timer);
            }
            // A keyring that works but holds nothing yet keeps a password that worked.
            run(account, *typed, trigger, kept.status == KeyringAnswer::Status::NotFound);
        });
}

void SyncCommands::run(const SyncAccount& account, const QString& password, Trigger trigger,
                       bool keepPassword) {
    SyncSettings settings{QUrl(account.server.trimmed()), account.user, password, account.calendar,
                          false};
    settings.alarmLeadMinutes = state_.options().alarmMin;
    SyncLocalSide side{
        [this] {
            // An edit in progress in the notes pane is part of what is sent.
            notes_.writeBack();
            return gatherLocalTasks(state_.store(), state_.fs(), state_.clock());
        },
        [this](const LocalTasks& gathered, std::vector<LocalChange> changes) {
            const bool any = !changes.empty();
            const bool saved =
                !showErrors(state_.prompts(), applyLocalChanges(state_.store(), gathered,
                                                                std::move(changes), state_.fs()));
            if (any)
                showChanges();
            return saved;
        },
        joinPath(state_.paths().dataDir, kSyncRecordsFile),
        [this](QString& where, QString& error) {
            const SyncBackup kept = keepSyncBackup(
                state_.paths().dataDir, state_.store().gridStore(), state_.store().gridNonday(),
                state_.completedTasks().table(), state_.clock().now());
            where = QString::fromStdString(kept.path);
            error = QString::fromStdString(kept.error);
            return kept.ok;
        },
        [this](const QString& message) {
            return state_.prompts().askYesNo(message.toStdString() + " Go ahead and delete them?",
                                             "Confirm");
        }};
    sent_ = 0;
    received_ = 0;
    problems_.clear();
    sync_ =
        new CalDavSync(std::move(settings), std::move(side), wholeDays(state_.clock().now()), this);
    connect(sync_, &CalDavSync::changeLine, this, [this](const QString& line) {
        if (line.startsWith(QLatin1String("sent\t")))
            ++sent_;
        else if (line.startsWith(QLatin1String("received\t")))
            ++received_;
    });
    connect(sync_, &CalDavSync::problem, this,
            [this](const QString& text) { problems_.push_back(text); });
    connect(sync_, &CalDavSync::finished, this,
            [this, account, password, trigger, keepPassword](bool ok, const QString& message) {
                sync_->deleteLater();
                if (ok && keepPassword)
                    passwordKeyring().write(keyringKey(account), password,
                                            [](const KeyringAnswer&) {});
                QString report = message;
                if (!problems_.isEmpty())
                    report += QStringLiteral("\nSkipped:\n") + problems_.join(QLatin1Char('\n'));
                done(ok, report, trigger, !problems_.isEmpty());
            });
    QTimer::singleShot(0, sync_, &CalDavSync::start);
}

void SyncCommands::done(bool ok, const QString& message, Trigger trigger, bool partly) {
    running_ = false;
    actions_.synchronise->setEnabled(true);
    const QString time =
        QString::fromStdString(timeCellText(dayFraction(state_.clock().now()), state_.fs()));
    if (ok) {
        status_->setText(QStringLiteral("Synchronised %1: %2 sent, %3 received")
                             .arg(time)
                             .arg(sent_)
                             .arg(received_));
    } else {
        status_->setText(QStringLiteral("Sync failed %1: %2").arg(time, message));
    }
    status_->setToolTip(message);
    if (!ok && trigger == Trigger::User)
        state_.prompts().error("Synchronisation failed: " + message.toStdString());
    else if (partly && trigger == Trigger::User)
        state_.prompts().info(message.toStdString());
    emit finished(ok, message);
}

void SyncCommands::showChanges() {
    // The sync may have changed any date and the to-do list.
    StoreChange change;
    change.everyDate = change.todo = true;
    state_.storeEvents().publish(change);
}

} // namespace dw
