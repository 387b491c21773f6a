// Planning a sync: which records still tie which local tasks and server objects, and what
// each side must change to agree with the other (the rules are in sync_plan.h).
#include "core/sync/sync_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace dw {
namespace {

constexpr char kSep = '\x1f';

std::string kindKey(const SyncTask& t) {
    return t.isTodo() ? "T" : "E";
}
std::string fullKey(const SyncTask& t) {
    return std::to_string(t.date) + kSep + std::to_string(t.minute) + kSep + t.category + kSep +
           t.what + kSep + (t.done ? "1" : "0") + (t.alarm ? "1" : "0");
}
// The weaker keys a record tries in turn once no unchanged task is left for it: done,
// alarm or time changed; text changed; moved to another date.
std::string dateTextKey(const SyncTask& t) {
    return kindKey(t) + kSep + std::to_string(t.date) + kSep + t.what;
}
std::string dateTimeCategoryKey(const SyncTask& t) {
    return kindKey(t) + kSep + std::to_string(t.date) + kSep + std::to_string(t.minute) + kSep +
           t.category;
}
std::string textKey(const SyncTask& t) {
    return kindKey(t) + kSep + t.what;
}
std::string dateKey(const SyncTask& t) {
    return kindKey(t) + kSep + std::to_string(t.date);
}

std::string unitKey(const std::string& href, const std::string& recurrenceId) {
    return href + '\n' + recurrenceId;
}

SyncTask conflictCopy(SyncTask task) {
    // The suffix ends the last line: a text of several lines ends with CR LF.
    const std::string crlf = "\r\n";
    if (task.what.size() >= 2 && task.what.compare(task.what.size() - 2, 2, crlf) == 0)
        task.what.insert(task.what.size() - 2, kConflictSuffix);
    else
        task.what += kConflictSuffix;
    return task;
}

struct Unit {
    const ServerObject* object = nullptr;
    std::string uid;
    std::string recurrenceId;
    SyncTask task;
};

// What one href's records come to, and the one change its object may need.
struct Bucket {
    std::vector<SyncRecord> before;
    std::vector<SyncRecord> after;
    const ServerObject* object = nullptr;
    std::string text;
    bool edited = false;
    bool deleted = false;
    bool recreated = false;
    std::vector<std::string> lines;
};

// One planning, step by step: each step reads what the ones before it left.
class Planner {
public:
    Planner(SyncInput input, const ObjectMapping& mapping)
        : in_(std::move(input)), mapping_(mapping) {}

    SyncPlan run(const std::function<std::string()>& newUid) {
        prepareLocalTasks();
        readServerObjects();
        takeRecords();
        tieRecordsToLocalTasks();
        for (std::size_t i = 0; i < recs_.size(); ++i)
            reconcile(i);
        adoptUnrecordedUnits();
        for (std::size_t i = 0; i < localTasks_.size(); ++i)
            if (!taken_[i])
                newLocal_.push_back(localTasks_[i]);
        sendChangedObjects();
        sendNewTasks(newUid);
        return std::move(plan_);
    }

private:
    void prepareLocalTasks();
    void readServerObjects();
    void takeRecords();
    void tieRecordsToLocalTasks();
    void tieTheLastOnEachDate();
    void reconcile(std::size_t i);
    void adoptUnrecordedUnits();
    void sendChangedObjects();
    void sendNewTasks(const std::function<std::string()>& newUid);

    void localChange(LocalChange::Kind kind, int local, const SyncTask& task, const char* action) {
        plan_.local.push_back({kind, local, task, changeLine("received", action, task)});
    }

    SyncInput in_;
    const ObjectMapping& mapping_;
    SyncPlan plan_;
    std::vector<SyncTask> localTasks_;

    // The server's tasks, one unit per object or occurrence.
    std::map<std::string, const ServerObject*> objectOfHref_;
    std::set<std::string> unreadable_;
    std::map<std::string, Unit> units_;
    std::vector<std::string> unitOrder_;

    // The records of this calendar, and the local task each is tied to (-1: none).
    std::vector<const SyncRecord*> recs_;
    std::vector<int> localOf_;
    std::vector<bool> taken_;

    std::map<std::string, Bucket> buckets_;
    std::set<std::string> covered_;
    std::vector<SyncTask> newLocal_; // tasks to create on the server
};

void Planner::prepareLocalTasks() {
    // Compared and sent as the server will hold them, so that a task holding a control
    // character is not sent again at every sync; the local tables keep it as it is.
    localTasks_ = std::move(in_.local);
    for (SyncTask& task : localTasks_) {
        task.category = sendableText(task.category, plan_.droppedFromSent);
        task.what = sendableText(task.what, plan_.droppedFromSent);
    }
}

void Planner::readServerObjects() {
    // The server lists its objects in an order of its own: taken by href, the same changes
    // always print the same lines in the same order.
    std::vector<ServerObject*> listed;
    listed.reserve(in_.server.size());
    for (ServerObject& object : in_.server)
        listed.push_back(&object);
    std::sort(listed.begin(), listed.end(),
              [](const ServerObject* a, const ServerObject* b) { return a->href < b->href; });
    // Only an object a record names may be written back; the texts of the others are let
    // go once read, so that a whole new calendar is not held twice.
    std::set<std::string> recordedHrefs;
    for (const SyncRecord& r : in_.records)
        if (r.collection == in_.collection)
            recordedHrefs.insert(r.href);
    for (ServerObject* listedObject : listed) {
        ServerObject& object = *listedObject;
        ParsedObject parsed = mapping_.read(object.text, in_.windowFrom, in_.windowTo);
        if (!recordedHrefs.count(object.href))
            std::string().swap(object.text);
        if (!parsed.ok) {
            unreadable_.insert(object.href);
            plan_.skipped.push_back(object.href + ": " + parsed.error);
            continue;
        }
        objectOfHref_[object.href] = &object;
        plan_.droppedControls += parsed.droppedControls;
        for (ObjectTask& t : parsed.tasks) {
            const std::string key = unitKey(object.href, t.recurrenceId);
            if (units_.emplace(key, Unit{&object, parsed.uid, t.recurrenceId, std::move(t.task)})
                    .second)
                unitOrder_.push_back(key);
        }
    }
}

void Planner::takeRecords() {
    // The records of this calendar; those of another are forgotten.
    for (const SyncRecord& r : in_.records)
        if (r.collection == in_.collection)
            recs_.push_back(&r);
    plan_.syncedBefore = static_cast<int>(recs_.size());
    localOf_.assign(recs_.size(), -1);
    taken_.assign(localTasks_.size(), false);
}

void Planner::tieRecordsToLocalTasks() {
    // Each record ties the local task it was, by the strongest key that finds one free.
    for (auto keyOf : {fullKey, dateTextKey, dateTimeCategoryKey, textKey}) {
        std::unordered_map<std::string, std::vector<int>> free;
        for (int i = static_cast<int>(localTasks_.size()) - 1; i >= 0; --i)
            if (!taken_[i])
                free[keyOf(localTasks_[i])].push_back(i);
        for (std::size_t r = 0; r < recs_.size(); ++r) {
            if (localOf_[r] >= 0)
                continue;
            const auto it = free.find(keyOf(recs_[r]->synced));
            if (it == free.end())
                continue;
            while (!it->second.empty() && taken_[it->second.back()])
                it->second.pop_back();
            if (it->second.empty())
                continue;
            localOf_[r] = it->second.back();
            it->second.pop_back();
            taken_[localOf_[r]] = true;
        }
    }
    tieTheLastOnEachDate();
}

void Planner::tieTheLastOnEachDate() {
    // Changed in more ways than one key survives (a new time and a new text at once): the
    // one record left on a date and the one task left there are the same task. A date
    // with more of either is left alone, since any pairing there would be a guess.
    std::map<std::string, std::vector<std::size_t>> records;
    std::map<std::string, std::vector<int>> tasks;
    for (std::size_t r = 0; r < recs_.size(); ++r)
        if (localOf_[r] < 0)
            records[dateKey(recs_[r]->synced)].push_back(r);
    for (int i = 0; i < static_cast<int>(localTasks_.size()); ++i)
        if (!taken_[i])
            tasks[dateKey(localTasks_[i])].push_back(i);
    for (const auto& [key, left] : records) {
        const auto there = tasks.find(key);
        if (left.size() == 1 && there != tasks.end() && there->second.size() == 1) {
            localOf_[left.front()] = there->second.front();
            taken_[there->second.front()] = true;
        }
    }
}

// What one record's task comes to, from how it changed here and on the server since the
// last sync.
void Planner::reconcile(std::size_t i) {
    const SyncRecord& r = *recs_[i];
    covered_.insert(unitKey(r.href, r.recurrenceId));
    Bucket& b = buckets_[r.href];
    if (unreadable_.count(r.href)) {
        // Left as it was until the object can be read again.
        b.after.push_back(r);
        return;
    }
    b.before.push_back(r);
    const auto objectIt = objectOfHref_.find(r.href);
    if (objectIt != objectOfHref_.end() && !b.object) {
        b.object = objectIt->second;
        b.text = b.object->text;
    }
    const auto unitIt = units_.find(unitKey(r.href, r.recurrenceId));
    const SyncTask* server = unitIt == units_.end() ? nullptr : &unitIt->second.task;
    const int li = localOf_[i];
    const SyncTask* local = li >= 0 ? &localTasks_[li] : nullptr;
    const SyncTask& base = r.synced;

    // An occurrence that left the window stays as it is locally and is no longer synced.
    if (!server && b.object && !r.recurrenceId.empty() &&
        (base.date < in_.windowFrom || base.date > in_.windowTo))
        return;

    SyncRecord rec = r;
    if (b.object)
        rec.etag = b.object->etag;
    const bool localGone = !local;
    const bool localChanged = local && !(*local == base);
    const bool serverGone = !server;
    const bool serverChanged = server && !(*server == base);

    if (!localGone && !localChanged) {
        if (serverGone) {
            localChange(LocalChange::Kind::Remove, li, *local, "delete");
            ++plan_.deletesHere;
        } else if (serverChanged) {
            localChange(LocalChange::Kind::Replace, li, *server, "update");
            rec.synced = *server;
            b.after.push_back(rec);
        } else {
            b.after.push_back(rec);
        }
    } else if (localGone) {
        if (serverGone) {
            // Gone on both sides.
        } else if (serverChanged) {
            // Changed on the server after it was deleted here: the change wins.
            localChange(LocalChange::Kind::Add, -1, *server, "update");
            rec.synced = *server;
            b.after.push_back(rec);
        } else if (r.recurrenceId.empty()) {
            b.deleted = true;
            b.lines.push_back(changeLine("sent", "delete", base));
            ++plan_.deletesThere;
        } else {
            b.text = mapping_.withoutOccurrence(b.text, r.recurrenceId);
            b.edited = true;
            b.lines.push_back(changeLine("sent", "delete", base));
            ++plan_.deletesThere;
        }
    } else if (serverGone) {
        // Deleted on the server after it was edited here: the edit is kept and sent
        // again, the whole object under its old UID, an occurrence as a new object.
        if (r.recurrenceId.empty() && !b.object) {
            b.text = mapping_.write(*local, r.uid);
            b.recreated = true;
            rec.synced = *local;
            rec.etag.clear();
            b.after.push_back(rec);
            b.lines.push_back(changeLine("sent", "new", *local));
        } else {
            newLocal_.push_back(*local);
        }
    } else if (!serverChanged || *server == *local) {
        rec.synced = *local;
        b.after.push_back(rec);
        if (!(*server == *local)) {
            b.text = mapping_.withOccurrence(b.text, r.recurrenceId, *local);
            b.edited = true;
            b.lines.push_back(changeLine("sent", "update", *local));
        }
    } else {
        // Changed on both sides: the server's version takes the task's place, the
        // local one stays beside it as a new task.
        localChange(LocalChange::Kind::Replace, li, *server, "update");
        rec.synced = *server;
        b.after.push_back(rec);
        const SyncTask copy = conflictCopy(*local);
        plan_.local.push_back(
            {LocalChange::Kind::Add, -1, copy, changeLine("conflict", "kept", copy)});
        newLocal_.push_back(copy);
    }
}

void Planner::adoptUnrecordedUnits() {
    // Server tasks no record knows: the same content as a free local task ties the two,
    // anything else is new here.
    std::unordered_map<std::string, std::vector<int>> freeByContent;
    for (int i = static_cast<int>(localTasks_.size()) - 1; i >= 0; --i)
        if (!taken_[i])
            freeByContent[fullKey(localTasks_[i])].push_back(i);
    for (const std::string& key : unitOrder_) {
        if (covered_.count(key))
            continue;
        Unit& u = units_.at(key);
        const auto it = freeByContent.find(fullKey(u.task));
        if (it != freeByContent.end() && !it->second.empty()) {
            taken_[it->second.back()] = true;
            it->second.pop_back();
        } else {
            localChange(LocalChange::Kind::Add, -1, u.task, "new");
        }
        // The record takes the unit's task: nothing reads the unit after this.
        const ObjectKind kind = kindOf(u.task);
        buckets_[u.object->href].after.push_back({in_.collection, u.uid, u.object->href,
                                                  u.object->etag, kind, u.recurrenceId,
                                                  std::move(u.task)});
    }
}

void Planner::sendChangedObjects() {
    for (auto& [href, b] : buckets_) {
        RemoteChange change;
        change.href = href;
        change.lines = std::move(b.lines);
        change.recordsBefore = std::move(b.before);
        change.recordsAfter = std::move(b.after);
        if (b.deleted || b.edited) {
            change.kind =
                b.deleted && !b.edited ? RemoteChange::Kind::Delete : RemoteChange::Kind::Update;
            change.ifMatch = b.object ? b.object->etag : std::string();
            if (change.kind == RemoteChange::Kind::Update)
                change.body = b.text;
        } else if (b.recreated) {
            change.kind = RemoteChange::Kind::Create;
            change.body = b.text;
        } else {
            for (SyncRecord& r : change.recordsAfter)
                plan_.records.push_back(std::move(r));
            continue;
        }
        plan_.remote.push_back(std::move(change));
    }
}

void Planner::sendNewTasks(const std::function<std::string()>& newUid) {
    for (const SyncTask& task : newLocal_) {
        const std::string uid = newUid();
        RemoteChange change;
        change.kind = RemoteChange::Kind::Create;
        change.href = in_.collection + uid + ".ics";
        change.body = mapping_.write(task, uid);
        change.lines.push_back(changeLine("sent", "new", task));
        change.recordsAfter.push_back(
            {in_.collection, uid, change.href, {}, kindOf(task), {}, task});
        plan_.remote.push_back(std::move(change));
    }
}

} // namespace

SyncPlan planSync(SyncInput input, const ObjectMapping& mapping,
                  const std::function<std::string()>& newUid) {
    return Planner(std::move(input), mapping).run(newUid);
}

} // namespace dw
