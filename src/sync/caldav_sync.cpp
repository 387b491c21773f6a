#include "sync/caldav_sync.h"

#include "core/store/cell_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>
#include <iterator>

namespace dw {
namespace {

constexpr int kMaxRounds = 3;

} // namespace

CalDavSync::CalDavSync(SyncSettings settings, SyncLocalSide local, int today, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), local_(std::move(local)), today_(today),
      client_(settings_.server, settings_.user, settings_.password, this),
      mapping_(systemLocalTime, settings_.alarmLeadMinutes) {
    client_.addCaCertificates(settings_.caCertificates);
    client_.setLimits(settings_.limits);
}

namespace {

// The calendar the first sync chose for a server and user, kept beside the records: a
// calendar added or renamed on the server later must not change where the tasks go.
QString chosenCalendarFile(const std::string& recordsPath) {
    return QFileInfo(QString::fromStdString(recordsPath))
        .dir()
        .filePath(QStringLiteral("sync-calendar.txt"));
}
QString accountKey(const QUrl& server, const QString& user) {
    return server
               .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                         QUrl::RemoveUserInfo)
               .toString() +
           QLatin1Char(' ') + user;
}

} // namespace

void CalDavSync::start() {
    if (!settings_.calendar.isEmpty()) {
        collection_ = withSlash(client_.resolved(settings_.calendar).path());
        return round();
    }
    const QString key = accountKey(settings_.server, settings_.user);
    QFile kept(chosenCalendarFile(local_.recordsPath));
    if (kept.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(kept.readAll()).split(QLatin1Char('\n'));
        if (lines.size() >= 2 && lines[0] == key && lines[1].startsWith(QLatin1Char('/'))) {
            collection_ = lines[1];
            return round();
        }
    }
    client_.discoverCalendars([this, key](const CalDavError& error,
                                          const QVector<CalendarInfo>& found) {
        if (!error.ok())
            return finish(false, error.message);
        if (found.isEmpty())
            return finish(false, QStringLiteral("The server has no calendar for this user."));
        collection_ = found.front().href;
        if (!settings_.dryRun) {
            QSaveFile file(chosenCalendarFile(local_.recordsPath));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write((key + QLatin1Char('\n') + collection_ + QLatin1Char('\n')).toUtf8()) <
                    0 ||
                !file.commit())
                return finish(false, QStringLiteral("The chosen calendar could not be kept in %1: "
                                                    "check that the data folder can be written.")
                                         .arg(file.fileName()));
        }
        round();
    });
}

void CalDavSync::round() {
    ++round_;
    listed_.clear();
    // Each object is kept once, as the plan reads it.
    client_.streamCollection(
        collection_,
        [this](ListedObject&& o) {
            listed_.push_back({o.href.toStdString(), o.etag.toStdString(), std::move(o.data)});
        },
        [this](const CalDavError& error, const QStringList& outside) {
            if (!error.ok()) {
                listed_ = {};
                return finish(false, error.message);
            }
            listed_.shrink_to_fit();
            // Never requested, never a task: a server naming them is not to be trusted
            // with them.
            for (const QString& href : outside)
                skip(QStringLiteral("%1: outside the calendar %2, so it was left alone")
                         .arg(href, collection_));
            planAndApply();
        });
}

void CalDavSync::planAndApply() {
    SyncInput in;
    in.server = std::move(listed_);
    listed_ = {};
    in.collection = collection_.toStdString();
    // A series is shown over the dates an import takes: a year back, two years ahead.
    const ImportRange window = defaultImportRange(today_);
    in.windowFrom = window.from;
    in.windowTo = window.to;
    try {
        in.records = loadSyncRecords(local_.recordsPath);
    } catch (const TableFileError& e) {
        return finish(false, QString::fromStdString(e.what()));
    }
    LocalTasks gathered = local_.gather();
    in.local = gathered.tasks;
    plan_ = planSync(std::move(in), mapping_, [] {
        return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    });
    // The plan holds what it takes of them: the texts are not kept while it is carried out.
    in = {};
    // Kept to the end of the sync and saved twice: no room beyond its records is kept.
    plan_.records.shrink_to_fit();
    done_.assign(plan_.remote.size(), false);
    next_ = 0;
    changedMeanwhile_ = false;

    for (const std::string& s : plan_.skipped)
        skip(QString::fromStdString(s));
    if (plan_.droppedControls > 0)
        emit changeLine(QStringLiteral("dropped\t%1 control characters from the server's texts")
                            .arg(plan_.droppedControls));
    if (plan_.droppedFromSent > 0)
        emit changeLine(QStringLiteral("dropped\t%1 control characters from the texts sent")
                            .arg(plan_.droppedFromSent));
    // Nothing changes on either side before this: a sync that would empty one side stops
    // here unless the user says it is meant.
    if (const auto deletion = massDeletion(plan_); deletion && !settings_.allowDeletions) {
        const QString text = QString::fromStdString(massDeletionText(*deletion));
        if (settings_.dryRun || !local_.confirmDeletions || !local_.confirmDeletions(text))
            return finish(SyncOutcome::Stopped, text + QStringLiteral(" Nothing was changed."));
    }
    if (settings_.dryRun) {
        for (const LocalChange& c : plan_.local)
            emit changeLine(QString::fromStdString(c.line));
        for (const RemoteChange& c : plan_.remote)
            for (const std::string& line : c.lines)
                emit changeLine(QString::fromStdString(line));
        return finish(true, QStringLiteral("Dry run: nothing was changed."));
    }
    if (!plan_.local.empty() && local_.backup) {
        QString error;
        if (!local_.backup(backupPath_, error))
            return finish(false, QStringLiteral("The tasks could not be kept in a backup before "
                                                "the sync changed them (%1), so nothing was "
                                                "changed: check that the data folder can be "
                                                "written.")
                                     .arg(error));
    }
    // The changes go into the tables whole, texts and all: a listing can bring many.
    std::vector<std::string> lines;
    lines.reserve(plan_.local.size());
    for (LocalChange& c : plan_.local)
        lines.push_back(std::move(c.line));
    const bool saved = local_.apply(gathered, std::move(plan_.local));
    plan_.local = {};
    if (!saved)
        return finish(false, QStringLiteral("The tasks could not be saved."));
    gathered = {};
    for (const std::string& line : lines)
        emit changeLine(QString::fromStdString(line));
    saveRecords();
    if (finished_)
        return;
    emit planned();
    sendNext();
}

void CalDavSync::sendNext() {
    if (next_ >= plan_.remote.size()) {
        saveRecords();
        if (finished_)
            return;
        if (changedMeanwhile_) {
            if (round_ < kMaxRounds)
                return round();
            return finish(false, QStringLiteral("The calendar kept changing during the sync; "
                                                "try again later."));
        }
        if (skipped_ > 0)
            return finish(SyncOutcome::Skipped,
                          QStringLiteral("Synchronised, but %1 skipped: they are tried again at "
                                         "the next sync.")
                              .arg(skipped_ == 1
                                       ? QStringLiteral("1 object was")
                                       : QStringLiteral("%1 objects were").arg(skipped_)));
        return finish(true, QStringLiteral("Synchronised."));
    }
    const std::size_t i = next_++;
    RemoteChange& change = plan_.remote[i];
    auto settle = [this, i](const CalDavError& error, const QString& etag) {
        RemoteChange& change = plan_.remote[i];
        if (error.ok()) {
            done_[i] = true;
            for (SyncRecord& r : change.recordsAfter)
                r.etag = etag.toStdString();
            for (const std::string& line : change.lines)
                emit changeLine(QString::fromStdString(line));
            return sendNext();
        }
        switch (error.kind) {
        case CalDavError::Kind::PreconditionFailed:
            changedMeanwhile_ = true;
            return sendNext();
        case CalDavError::Kind::Refused:
        case CalDavError::Kind::BadAnswer:
            // This object waits for the next sync; the others go on.
            skip(QString::fromStdString(change.href) + QStringLiteral(": ") + error.message);
            return sendNext();
        default:
            // The server is gone or will not have us: what was done is kept, the rest waits
            // for the next sync.
            saveRecords();
            return finish(false, error.message);
        }
    };
    const QString href = QString::fromStdString(change.href);
    if (change.kind == RemoteChange::Kind::Delete) {
        client_.remove(href, QString::fromStdString(change.ifMatch),
                       [settle](const CalDavError& error, bool) { settle(error, {}); });
    } else {
        client_.put(href, QByteArray::fromStdString(change.body),
                    QString::fromStdString(change.ifMatch), settle);
    }
}

void CalDavSync::saveRecords() {
    // The records after the sync are the plan's own and, after them, those of its remote
    // changes. The plan's own are nearly all of them on a large calendar: they are saved
    // where they are, with the others added for the while, rather than copied.
    std::vector<SyncRecord> records = std::move(plan_.records);
    plan_.records = {};
    const std::size_t own = records.size();
    std::vector<SyncRecord> remote = recordsAfterSync(plan_, done_);
    records.reserve(own + remote.size());
    std::move(remote.begin(), remote.end(), std::back_inserter(records));
    remote = {};
    std::string error;
    const bool saved = saveSyncRecords(local_.recordsPath, records, error);
    records.resize(own);
    plan_.records = std::move(records);
    if (!saved)
        finish(false, QStringLiteral("The sync records could not be saved: %1")
                          .arg(QString::fromStdString(error)));
}

void CalDavSync::skip(const QString& text) {
    ++skipped_;
    emit problem(text);
}

void CalDavSync::finish(bool ok, const QString& message) {
    finish(ok ? SyncOutcome::Synced : SyncOutcome::Failed, message);
}

void CalDavSync::finish(SyncOutcome outcome, const QString& message) {
    if (finished_)
        return;
    finished_ = true;
    outcome_ = outcome;
    ok_ = outcome == SyncOutcome::Synced || outcome == SyncOutcome::Skipped;
    message_ = message;
    emit finished(ok_, message);
}

} // namespace dw
