#include "core/sync/sync_plan.h"

#include "core/commands/command_args.h"
#include "core/dates/date_serial.h"

#include <algorithm>
#include <cstdio>
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

} // namespace

std::string changeLine(const char* direction, const char* action, const SyncTask& task) {
    std::string line = std::string(direction) + '\t' + action + '\t';
    if (task.isTodo()) {
        line += "to-do\t";
    } else {
        // An all-day task has no time to show.
        char time[32] = "";
        if (!task.isAllDay())
            std::snprintf(time, sizeof time, "%02d:%02d", task.minute / 60, task.minute % 60);
        line += isoDate(task.date) + '\t' + time;
    }
    const auto cut = task.what.find("\r\n");
    return line + '\t' + task.what.substr(0, cut);
}

std::string sendableText(const std::string& text, int& dropped) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool lineBreak =
            c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
        if ((c < 0x20 && c != '\t' && !lineBreak) || c == 0x7f) {
            ++dropped;
            continue;
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::optional<MassDeletion> massDeletion(const SyncPlan& plan) {
    const int synced = plan.syncedBefore;
    auto tooMany = [synced](int count) {
        return (synced >= 2 && count >= synced) || (synced > 10 && 2 * count > synced);
    };
    if (tooMany(plan.deletesHere))
        return MassDeletion{true, plan.deletesHere, synced};
    if (tooMany(plan.deletesThere))
        return MassDeletion{false, plan.deletesThere, synced};
    return std::nullopt;
}

std::string massDeletionText(const MassDeletion& d) {
    const std::string count = std::to_string(d.count);
    const std::string tasks = d.count == 1 ? " task" : " tasks";
    const std::string where = d.here ? " here" : " on the server";
    const std::string gone =
        d.here ? "gone from the server (was the calendar emptied, or is it another one?)"
               : "gone from this computer (were the tasks cleared, or an older archive "
                 "restored?)";
    if (d.count >= d.synced)
        return "The sync would delete " + count + tasks + where +
               ": every task synced last time is " + gone + ".";
    return "The sync would delete " + count + tasks + where + ": " + count + " of the " +
           std::to_string(d.synced) + " tasks synced last time are " + gone + ".";
}

SyncPlan planSync(SyncInput input, const ObjectMapping& mapping,
                  const std::function<std::string()>& newUid) {
    SyncPlan plan;
    // Compared and sent as the server will hold them, so that a task holding a control
    // character is not sent again at every sync; the local tables keep it as it is.
    const SyncInput& in = input;
    std::vector<SyncTask> localTasks = std::move(input.local);
    for (SyncTask& task : localTasks) {
        task.category = sendableText(task.category, plan.droppedFromSent);
        task.what = sendableText(task.what, plan.droppedFromSent);
    }

    // The server's tasks, one unit per object or occurrence.
    std::map<std::string, const ServerObject*> objectOfHref;
    std::set<std::string> unreadable;
    std::map<std::string, Unit> units;
    std::vector<std::string> unitOrder;
    // The server lists its objects in an order of its own: taken by href, the same changes
    // always print the same lines in the same order.
    std::vector<ServerObject*> listed;
    for (ServerObject& object : input.server)
        listed.push_back(&object);
    std::sort(listed.begin(), listed.end(),
              [](const ServerObject* a, const ServerObject* b) { return a->href < b->href; });
    // Only an object a record names may be written back; the texts of the others are let
    // go once read, so that a whole new calendar is not held twice.
    std::set<std::string> recordedHrefs;
    for (const SyncRecord& r : in.records)
        if (r.collection == in.collection)
            recordedHrefs.insert(r.href);
    for (ServerObject* listedObject : listed) {
        ServerObject& object = *listedObject;
        ParsedObject parsed = mapping.read(object.text, in.windowFrom, in.windowTo);
        if (!recordedHrefs.count(object.href))
            std::string().swap(object.text);
        if (!parsed.ok) {
            unreadable.insert(object.href);
            plan.skipped.push_back(object.href + ": " + parsed.error);
            continue;
        }
        objectOfHref[object.href] = &object;
        plan.droppedControls += parsed.droppedControls;
        for (ObjectTask& t : parsed.tasks) {
            const std::string key = unitKey(object.href, t.recurrenceId);
            if (units.emplace(key, Unit{&object, parsed.uid, t.recurrenceId, std::move(t.task)})
                    .second)
                unitOrder.push_back(key);
        }
    }

    // The records of this calendar; those of another are forgotten.
    std::vector<const SyncRecord*> recs;
    for (const SyncRecord& r : in.records)
        if (r.collection == in.collection)
            recs.push_back(&r);
    plan.syncedBefore = static_cast<int>(recs.size());

    // Each record ties the local task it was, by the strongest key that finds one free.
    std::vector<int> localOf(recs.size(), -1);
    std::vector<bool> taken(localTasks.size(), false);
    for (auto keyOf : {fullKey, dateTextKey, dateTimeCategoryKey, textKey}) {
        std::unordered_map<std::string, std::vector<int>> free;
        for (int i = static_cast<int>(localTasks.size()) - 1; i >= 0; --i)
            if (!taken[i])
                free[keyOf(localTasks[i])].push_back(i);
        for (std::size_t r = 0; r < recs.size(); ++r) {
            if (localOf[r] >= 0)
                continue;
            const auto it = free.find(keyOf(recs[r]->synced));
            if (it == free.end())
                continue;
            while (!it->second.empty() && taken[it->second.back()])
                it->second.pop_back();
            if (it->second.empty())
                continue;
            localOf[r] = it->second.back();
            it->second.pop_back();
            taken[localOf[r]] = true;
        }
    }
    // Changed in more ways than one key survives (a new time and a new text at once): the
    // one record left on a date and the one task left there are the same task. A date
    // with more of either is left alone, since any pairing there would be a guess.
    {
        std::map<std::string, std::vector<std::size_t>> records;
        std::map<std::string, std::vector<int>> tasks;
        for (std::size_t r = 0; r < recs.size(); ++r)
            if (localOf[r] < 0)
                records[dateKey(recs[r]->synced)].push_back(r);
        for (int i = 0; i < static_cast<int>(localTasks.size()); ++i)
            if (!taken[i])
                tasks[dateKey(localTasks[i])].push_back(i);
        for (const auto& [key, left] : records) {
            const auto there = tasks.find(key);
            if (left.size() == 1 && there != tasks.end() && there->second.size() == 1) {
                localOf[left.front()] = there->second.front();
                taken[there->second.front()] = true;
            }
        }
    }

    std::map<std::string, Bucket> buckets;
    std::set<std::string> covered;
    std::vector<SyncTask> newLocal; // tasks to create on the server
    auto localChange = [&](LocalChange::Kind kind, int local, const SyncTask& task,
                           const char* action) {
        plan.local.push_back({kind, local, task, changeLine("received", action, task)});
    };

    for (std::size_t i = 0; i < recs.size(); ++i) {
        const SyncRecord& r = *recs[i];
        covered.insert(unitKey(r.href, r.recurrenceId));
        Bucket& b = buckets[r.href];
        if (unreadable.count(r.href)) {
            // Left as it was until the object can be read again.
            b.after.push_back(r);
            continue;
        }
        b.before.push_back(r);
        const auto objectIt = objectOfHref.find(r.href);
        if (objectIt != objectOfHref.end() && !b.object) {
            b.object = objectIt->second;
            b.text = b.object->text;
        }
        const auto unitIt = units.find(unitKey(r.href, r.recurrenceId));
        const SyncTask* server = unitIt == units.end() ? nullptr : &unitIt->second.task;
        const int li = localOf[i];
        const SyncTask* local = li >= 0 ? &localTasks[li] : nullptr;
        const SyncTask& base = r.synced;

        // An occurrence that left the window stays as it is locally and is no longer synced.
        if (!server && b.object && !r.recurrenceId.empty() &&
            (base.date < in.windowFrom || base.date > in.windowTo))
            continue;

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
                ++plan.deletesHere;
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
                ++plan.deletesThere;
            } else {
                b.text = mapping.withoutOccurrence(b.text, r.recurrenceId);
                b.edited = true;
                b.lines.push_back(changeLine("sent", "delete", base));
                ++plan.deletesThere;
            }
        } else if (serverGone) {
            // Deleted on the server after it was edited here: the edit is kept and sent
            // again, the whole object under its old UID, an occurrence as a new object.
            if (r.recurrenceId.empty() && !b.object) {
                b.text = mapping.write(*local, r.uid);
                b.recreated = true;
                rec.synced = *local;
                rec.etag.clear();
                b.after.push_back(rec);
                b.lines.push_back(changeLine("sent", "new", *local));
            } else {
                newLocal.push_back(*local);
            }
        } else if (!serverChanged || *server == *local) {
            rec.synced = *local;
            b.after.push_back(rec);
            if (!(*server == *local)) {
                b.text = mapping.withOccurrence(b.text, r.recurrenceId, *local);
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
            plan.local.push_back(
                {LocalChange::Kind::Add, -1, copy, changeLine("conflict", "kept", copy)});
            newLocal.push_back(copy);
        }
    }

    // Server tasks no record knows: the same content as a free local task ties the two,
    // anything else is new here.
    std::unordered_map<std::string, std::vector<int>> freeByContent;
    for (int i = static_cast<int>(localTasks.size()) - 1; i >= 0; --i)
        if (!taken[i])
            freeByContent[fullKey(localTasks[i])].push_back(i);
    for (const std::string& key : unitOrder) {
        if (covered.count(key))
            continue;
        Unit& u = units.at(key);
        const auto it = freeByContent.find(fullKey(u.task));
        if (it != freeByContent.end() && !it->second.empty()) {
            taken[it->second.back()] = true;
            it->second.pop_back();
        } else {
            localChange(LocalChange::Kind::Add, -1, u.task, "new");
        }
        // The record takes the unit's task: nothing reads the unit after this.
        const ObjectKind kind = kindOf(u.task);
        buckets[u.object->href].after.push_back({in.collection, u.uid, u.object->href,
                                                 u.object->etag, kind, u.recurrenceId,
                                                 std::move(u.task)});
    }

    for (std::size_t i = 0; i < localTasks.size(); ++i)
        if (!taken[i])
            newLocal.push_back(localTasks[i]);

    for (auto& [href, b] : buckets) {
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
                plan.records.push_back(std::move(r));
            continue;
        }
        plan.remote.push_back(std::move(change));
    }

    for (const SyncTask& task : newLocal) {
        const std::string uid = newUid();
        RemoteChange change;
        change.kind = RemoteChange::Kind::Create;
        change.href = in.collection + uid + ".ics";
        change.body = mapping.write(task, uid);
        change.lines.push_back(changeLine("sent", "new", task));
        change.recordsAfter.push_back(
            {in.collection, uid, change.href, {}, kindOf(task), {}, task});
        plan.remote.push_back(std::move(change));
    }

    return plan;
}

std::vector<SyncRecord> recordsAfterSync(const SyncPlan& plan, const std::vector<bool>& done) {
    std::vector<SyncRecord> records = plan.records;
    for (std::size_t i = 0; i < plan.remote.size(); ++i) {
        const auto& from =
            i < done.size() && done[i] ? plan.remote[i].recordsAfter : plan.remote[i].recordsBefore;
        records.insert(records.end(), from.begin(), from.end());
    }
    return records;
}

} // namespace dw
