#pragma once

#include "core/sync/local_tasks.h"
#include "core/sync/sync_plan.h"
#include "interchange/ical_objects.h"
#include "sync/caldav_client.h"

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

namespace dw {

struct SyncSettings {
    QUrl server;
    QString user;
    QString password;
    QString calendar; // the collection's path; empty: the one the first sync chose
    bool dryRun = false;
    // Goes ahead with a sync that would delete most of what the last one synced.
    bool allowDeletions = false;
    // Trusted besides the system's authorities, for a server with its own. Initialised here
    // so that settings made with braces may leave it out.
    QList<QSslCertificate> caCertificates{};
    // Minutes ahead of a task's time at which its alarm sounds (the options' lead).
    int alarmLeadMinutes = 0;
    // What the server may send and how long it may take.
    CalDavLimits limits{};
};

// Where the tasks are: the sync reads them, makes its local changes there and keeps its
// records in a file beside them.
struct SyncLocalSide {
    std::function<LocalTasks()> gather;
    std::function<bool(const LocalTasks&, std::vector<LocalChange>)> apply;
    std::string recordsPath;
    // Keeps the tasks as they are before the sync changes them: true with the backup's
    // name in `where`, or false with why in `error`. Not set: no backup is made.
    std::function<bool(QString& where, QString& error)> backup{};
    // Asked, with the message, whether a sync that would delete most of what the last one
    // synced goes ahead. Not set: it stops (unless the settings allow deletions).
    std::function<bool(const QString& message)> confirmDeletions{};
};

// How a sync ended.
enum class SyncOutcome {
    Synced,  // everything synced
    Skipped, // synced, but some objects were skipped; they are tried again next time
    Stopped, // stopped before changing anything: it would have deleted too much
    Failed,  // it could not finish; what was done is kept
};

// One sync with the server: lists the calendar, plans, makes the local changes (with the
// records kept as if nothing had been sent, so a sync cut short loses nothing), then sends
// the changes one by one. A 412 (the object changed meanwhile) makes another round that
// fetches the calendar again; nothing is overwritten. Runs on the event loop.
class CalDavSync : public QObject {
    Q_OBJECT
public:
    CalDavSync(SyncSettings settings, SyncLocalSide local, int today, QObject* parent = nullptr);

    void start();
    bool succeeded() const { return ok_; }
    SyncOutcome outcome() const { return outcome_; }
    QString message() const { return message_; }
    // The backup made before the local tables were changed (empty: none was needed).
    QString backupPath() const { return backupPath_; }

signals:
    // One line for each change sent or received, and for each object that was skipped.
    void changeLine(const QString& line);
    // An object that was skipped, or a change the server did not take: named with why.
    void problem(const QString& text);
    // The local changes of a round are made and its remote ones about to be sent.
    void planned();
    void finished(bool ok, const QString& message);

private:
    void round();
    void planAndApply();
    void sendNext();
    void saveRecords();
    void finish(bool ok, const QString& message);
    void finish(SyncOutcome outcome, const QString& message);
    void skip(const QString& text);

    SyncSettings settings_;
    SyncLocalSide local_;
    int today_;
    CalDavClient client_;
    IcalObjectMapping mapping_;
    QString collection_;
    int round_ = 0;
    // The round's listing, in the form the plan reads, filled as the answer arrives.
    std::vector<ServerObject> listed_;
    SyncPlan plan_;
    std::vector<bool> done_;
    std::size_t next_ = 0;
    bool changedMeanwhile_ = false;
    bool ok_ = false;
    SyncOutcome outcome_ = SyncOutcome::Failed;
    int skipped_ = 0;
    QString backupPath_;
    bool finished_ = false;
    QString message_;
};

} // namespace dw
