#pragma once

#include "core/sync/sync_records.h"
#include "core/sync/sync_task.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dw {

// A change to send to the server.
struct RemoteChange {
    enum class Kind { Create, Update, Delete };
    Kind kind = Kind::Create;
    std::string href;
    std::string ifMatch; // the ETag an update or delete expects; a create expects no object
    std::string body;    // the object's text (create and update)
    std::vector<std::string> lines; // what to tell the user once it is done
    // The records of this href once the change is done (their ETag is the server's answer),
    // and as they were, kept when it fails so the next sync tries again.
    std::vector<SyncRecord> recordsAfter;
    std::vector<SyncRecord> recordsBefore;
};

// A change to the local tables. `local` indexes the task list the plan was made from.
struct LocalChange {
    enum class Kind { Add, Replace, Remove };
    Kind kind = Kind::Add;
    int local = -1;
    SyncTask task;
    std::string line;
};

struct SyncInput {
    std::string collection; // the calendar's path, ending with "/"
    std::vector<SyncTask> local;
    std::vector<SyncRecord> records;
    std::vector<ServerObject> server;
    int windowFrom = 0; // the dates a series is shown on, both included
    int windowTo = 0;
};

struct SyncPlan {
    std::vector<RemoteChange> remote;
    std::vector<LocalChange> local;
    // The records that hold once the local changes are made, apart from those of the
    // remote changes.
    std::vector<SyncRecord> records;
    // Objects the mapping could not read: left alone, told to the user.
    std::vector<std::string> skipped;
    // Control characters left out of the server's texts, told to the user.
    int droppedControls = 0;
    // Control characters left out of the local texts before they were compared and sent:
    // a server stores them raw and its next listing is no longer valid XML.
    int droppedFromSent = 0;
    // The tasks of this calendar the last sync left, and how many of them the plan deletes
    // here (in the local tables) and there (on the server).
    int syncedBefore = 0;
    int deletesHere = 0;
    int deletesThere = 0;
};

// A plan that would delete so much on one side that the side was more likely emptied by
// mistake (a cleared store, a broken server, a wrong calendar) than by the user.
struct MassDeletion {
    bool here = false; // the local tables; otherwise the server
    int count = 0;
    int synced = 0;
};
// Every task synced last time (when there were at least 2), or more than half of them
// (when there were more than 10), deleted on one side; the local side is told first.
std::optional<MassDeletion> massDeletion(const SyncPlan& plan);
// "The sync would delete N tasks ..." and why, without what to do about it.
std::string massDeletionText(const MassDeletion& deletion);

// The text as it may be sent: control characters other than TAB and line breaks (LF, or
// CR LF) left out. Adds the number left out to `dropped`.
std::string sendableText(const std::string& text, int& dropped);

// The text a conflict's local copy gets.
inline constexpr const char* kConflictSuffix = " (conflict)";

// Compares the local tasks, the records of the last sync and the server's objects, and
// says what to send and what to take. Rules:
// - a task changed on one side only takes the other side's place, deletions included;
// - a task changed on both sides: the server's version takes its place and the local one
//   is kept beside it as a new task whose text ends in " (conflict)";
// - a task deleted on one side and changed on the other is kept as changed;
// - an occurrence of a series deleted locally becomes an EXDATE, an edited one an
//   override, in one update of the series;
// - a local task and a server object with the same content that no record ties are taken
//   as one, so a lost sync.grd or a new calendar does not double every task.
// The input is taken (moved in, as a whole calendar's texts may be large): the text of an
// object no record names is let go once it has been read.
// A record ties a local task by content: unchanged first, then the same date and text,
// the same date, time and category, and last the same text on another date.
SyncPlan planSync(SyncInput input, const ObjectMapping& mapping,
                  const std::function<std::string()>& newUid);

// The records once the plan's local changes are made: the plan's own, and for each remote
// change its records after when it was done, before when not (all before while none has
// been sent: the local changes are made first, so a sync cut short loses nothing).
std::vector<SyncRecord> recordsAfterSync(const SyncPlan& plan, const std::vector<bool>& done);
// One line for a change: direction, action, ISO date ("to-do" for a to-do task), HH:MM
// (empty for a to-do task) and the first line of the text, separated by TABs.
std::string changeLine(const char* direction, const char* action, const SyncTask& task);

} // namespace dw
