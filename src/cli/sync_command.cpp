#include "cli/sync_command.h"

#include "cli/store_loading.h"
#include "cli/write_lock.h"
#include "core/commands/listing_text.h"
#include "core/output/completed_tasks.h"
#include "core/settings/option_keys.h"
#include "core/settings/settings_store.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/sync/local_tasks.h"
#include "core/sync/sync_backups.h"
#include "platform/data_lock.h"
#include "platform/qsettings_backend.h"
#include "sync/caldav_account.h"
#include "sync/caldav_sync.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSslCertificate>
#include <QTimer>
#include <iostream>

namespace dw::cli {
namespace {

int fail(const QString& message) {
    std::cerr << "dayweaver-cli: sync: " << withoutRawControls(message.toStdString()) << '\n';
    return 1;
}

} // namespace

int syncCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock) {
    const SyncAccount saved = loadSyncAccount();
    SyncSettings settings;
    settings.server =
        QUrl(QString::fromStdString(args.takeOption("--url").value_or(saved.server.toStdString())));
    settings.user =
        QString::fromStdString(args.takeOption("--user").value_or(saved.user.toStdString()));
    settings.calendar = QString::fromStdString(
        args.takeOption("--calendar").value_or(saved.calendar.toStdString()));
    const bool useNetrc = args.takeFlag("--netrc");
    const auto passwordFile = args.takeOption("--password-file");
    const auto caFile = args.takeOption("--cacert");
    settings.dryRun = args.takeFlag("--dry-run");
    settings.allowDeletions = args.takeFlag("--allow-deletions");
    args.expectEnd();
    {
        QSettingsBackend backend;
        settings.alarmLeadMinutes = readOptions(SettingsStore(backend), {}, false).alarmMin;
    }
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
            return fail(error);
        settings.password = *pw;
    } else if (passwordFile) {
        QFile file(QString::fromStdString(*passwordFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read ") + file.fileName());
        settings.password = QString::fromUtf8(file.readAll()).section(QLatin1Char('\n'), 0, 0);
        settings.password.remove(QLatin1Char('\r'));
    }

    if (caFile) {
        QFile file(QString::fromStdString(*caFile));
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read ") + file.fileName());
        settings.caCertificates = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
        if (settings.caCertificates.isEmpty())
            return fail(file.fileName() + QStringLiteral(" holds no PEM certificate"));
    }

    // A dry run writes nothing and needs no lock. A running program is the folder's one
    // writer, and a sync takes too long to be handed to it as a command: it syncs itself.
    std::unique_ptr<DataDirLock> lock;
    if (!settings.dryRun) {
        lock = std::make_unique<DataDirLock>(dataDir);
        if (const auto refusal = takeWriteLock(*lock, dataDir)) {
            const std::string holder = lock->holderName();
            if (!holder.empty() && holder != QCoreApplication::applicationName().toStdString())
                return fail(QStringLiteral("Dayweaver is running with the data folder %1; use "
                                           "its File \u203a \"Synchronise now\" to sync while "
                                           "it runs")
                                .arg(QString::fromStdString(dataDir)));
            return fail(QString::fromStdString(*refusal));
        }
    }
    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    if (const auto why = loadDatedTasks(store, dataDir))
        return fail(QString::fromStdString(*why));
    try {
        loadTableIfPresent(store.gridNonday(), store.todoPath(), false);
    } catch (const TableFileError& e) {
        return fail(QString::fromUtf8(e.what()));
    }

    // Kept in the backup beside the tasks: a restore of it gives back the whole folder.
    CompletedTasks completed(dataDir);
    try {
        loadTableIfPresent(completed.table(), completed.path(), false);
    } catch (const TableFileError& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    SyncLocalSide side{[&] { return gatherLocalTasks(store, fs, clock); },
                       [&](const LocalTasks& got, const std::vector<LocalChange>& changes) {
                           // CalDavSync words the failure itself.
                           return applyLocalChanges(store, got, changes, fs).ok();
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
    CalDavSync run(settings, side, wholeDays(clock.now()));
    QObject::connect(&run, &CalDavSync::changeLine, [](const QString& line) {
        std::cout << withoutRawControls(line.toStdString()) << '\n' << std::flush;
    });
    QObject::connect(&run, &CalDavSync::problem, [](const QString& text) {
        std::cerr << "dayweaver-cli: sync: skipped " << text.toStdString() << '\n' << std::flush;
    });
    QEventLoop loop;
    QObject::connect(&run, &CalDavSync::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(0, &run, &CalDavSync::start);
    loop.exec();
    switch (run.outcome()) {
    case SyncOutcome::Synced:
        return 0;
    case SyncOutcome::Skipped:
        std::cerr << "dayweaver-cli: sync: " << run.message().toStdString() << '\n';
        return 4;
    case SyncOutcome::Stopped:
        std::cerr << "dayweaver-cli: sync: " << run.message().toStdString()
                  << " If that is what you want, run the sync again with --allow-deletions.\n";
        return 3;
    case SyncOutcome::Failed:
        break;
    }
    return fail(run.message());
}

} // namespace dw::cli
