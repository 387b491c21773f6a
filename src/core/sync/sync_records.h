#pragma once

#include "core/sync/sync_task.h"

#include <string>
#include <vector>

namespace dw {

// What the last sync left for one task: where it lives on the server, the object's ETag
// then, and the task's content then. A task of a series is one occurrence, named by its
// recurrence id. The store keeps its six columns; this table lives beside it in sync.grd.
struct SyncRecord {
    std::string collection; // the calendar's path; records of another calendar are ignored
    std::string uid;
    std::string href;
    std::string etag;
    ObjectKind kind = ObjectKind::Event;
    std::string recurrenceId;
    SyncTask synced;

    friend bool operator==(const SyncRecord&, const SyncRecord&) = default;
};

inline constexpr const char* kSyncRecordsFile = "sync.grd";

// Reads sync.grd; a missing file is no records. Throws TableFileError for a damaged one.
std::vector<SyncRecord> loadSyncRecords(const std::string& path);
// Writes sync.grd atomically; false with `error` set when it could not.
bool saveSyncRecords(const std::string& path, std::vector<SyncRecord>& records, std::string& error);

} // namespace dw
