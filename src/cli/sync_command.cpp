#include "cli/sync_command.h"

#include "cli/store_loading.h"
#include "cli/write_lock.h"
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"
#include "core/output/completed_tasks.h"
#include "core/settings/option_keys.h"
#include "core/settings/settings_store.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "core/sync/sync_backups.h"
#include "platform/data_lock.h"
#include "sync/caldav_account.h"
#include "sync/caldav_sync.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSslCertificate>
#include <QTimer>
#include <ostream>

namespace dw::cli {
namespace {

int fail(std::ostream& err, const QString& message) {
    err << "dayweaver-cli: sync: " << withoutRawControls(message.toStdString()) << '\n';
    return 1;
}

} // namespace

int syncCommand(CommandRun& run) {
    const ParsedArgs& args = run.args;
    const std::string& dataDir = run.dataDir;
    const FormatSettings& fs = run.fs;
    const Clock& clock = run.clock;
    std::ostream& err = run.err;
    const SyncAccount saved = loadSyncAccount();
    SyncSettings settings;
    settings.server =
        QUrl(QString::fromStdString(args.value("--url").value_or(saved.server.toStdString())));
    settings.user = QString::fromStdString(args.value("--user").value_or(saved.user.toStdString()));
    settings.calendar =
        QString::fromStdString(args.value("--calendar").value_or(saved.calendar.toStdString()));
    const bool useNetrc = args.flag("--netrc");
    const auto passwordFile = args.value("--password-file");
    const auto caFile = args.value("--cacert");
    settings.dryRun = args.flag("--dry-run");
    settings.allowDeletions = args.flag("--allow-deletions");
    settings.alarmLeadMinutes = readOptions(run.settings, {}, false).alarmMin;
    if (useNetrc && passwordFile)
        throw UsageError{"--netrc and --password-file exclude each other"};
    if (!settings.server.isValid() || settings.server.host().isEmpty() ||
        (settings.server.scheme() != "http" && settings.server.scheme() != "https"))
        throw UsageError{"sync needs the server's address: --url http(s)://HOST/..."};
    if (settings.user.isEmpty())
        throw UsageError{"sync needs the user name: --user USER"};

    if (useNetrc) {
        QString error;
        const auto pw = netrcPassword(QDir::homePath() + QStringLiteral("/.netrc"),
                                      settings.server.host(), settings.user, error);
        if (!pw)
            return fail(err, error);
        settings.password = *pw;
    } else if (passwordFile) {
        QFile file(QString::fromStdString(*passwordFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(err, QStringLiteral("cannot read ") + file.fileName());
        settings.password = QString::fromUtf8(file.readAll()).section(QLatin1Char('\n'), 0, 0);
        settings.password.remove(QLatin1Char('\r'));
    }

    if (caFile) {
        QFile file(QString::fromStdString(*caFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(err, QStringLiteral("cannot read ") + file.fileName());
        settings.caCertificates = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
        if (settings.caCertificates.isEmpty())
            return fail(err, file.fileName() + QStringLiteral(" holds no PEM certificate"));
    }

    // A dry run writes nothing and needs no lock. A running program is the folder's one
    // writer, and a sync takes too long to be handed to it as a command: it syncs itself.
    std::unique_ptr<DataDirLock> lock;
    if (!settings.dryRun) {
        lock = std::make_unique<DataDirLock>(dataDir);
        if (const auto refusal = takeWriteLock(*lock, dataDir)) {
            const std::string holder = lock->holderName();
            if (!holder.empty() && holder != QCoreApplication::applicationName().toStdString())
                return fail(err, QStringLiteral("Dayweaver is running with the data folder %1; use "
                                                "its File \u203a \"Synchronise now\" to sync while "
                                                "it runs")
                                     .arg(QString::fromStdString(dataDir)));
            return fail(err, QString::fromStdString(*refusal));
        }
    }
    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    if (const auto why = loadDatedTasks(store, dataDir))
        return fail(err, QString::fromStdString(*why));
    try {
        loadTableIfPresent(store.gridNonday(), store.todoPath(), false);
    } catch (const TableFileError& e) {
        return fail(err, QString::fromUtf8(e.what()));
    }

    // Kept in the backup beside the tasks: a restore of it gives back the whole folder.
    CompletedTasks completed(dataDir);
    try {
        loadTableIfPresent(completed.table(), completed.path(), false);
    } catch (const TableFileError& e) {
        return fail(err, QString::fromUtf8(e.what()));
    }
    SyncLocalSide side{[&] { return gatherLocalTasks(store, fs, clock); },
                       [&](const LocalTasks& got, std::vector<LocalChange> changes) {
                           // CalDavSync words the failure itself.
                           return applyLocalChanges(store, got, std::move(changes), fs).ok();
                       },
                       joinPath(dataDir, kSyncRecordsFile),
                       [&](QString& where, QString& error) {
                           const SyncBackup kept =
                               keepSyncBackup(dataDir, store.gridStore(), store.gridNonday(),
                                              completed.table(), clock.now());
                           where = QString::fromStdString(kept.path);
                           error = QString::fromStdString(kept.error);
                           return kept.ok;
                       }};
    CalDavSync sync(settings, side, wholeDays(clock.now()));
    std::ostream& out = run.out;
    QObject::connect(&sync, &CalDavSync::changeLine, [&out](const QString& line) {
        out << withoutRawControls(line.toStdString()) << '\n' << std::flush;
    });
    QObject::connect(&sync, &CalDavSync::problem, [&err](const QString& text) {
        err << "dayweaver-cli: sync: skipped " << text.toStdString() << '\n' << std::flush;
    });
    QEventLoop loop;
    QObject::connect(&sync, &CalDavSync::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(0, &sync, &CalDavSync::start);
    loop.exec();
    switch (sync.outcome()) {
    case SyncOutcome::Synced:
        return 0;
    case SyncOutcome::Skipped:
        err << "dayweaver-cli: sync: " << sync.message().toStdString() << '\n';
        return 4;
    case SyncOutcome::Stopped:
        err << "dayweaver-cli: sync: " << sync.message().toStdString()
            << " If that is what you want, run the sync again with --allow-deletions.\n";
        return 3;
    case SyncOutcome::Failed:
        break;
    }
    return fail(err, sync.message());
}

} // namespace dw::cli
