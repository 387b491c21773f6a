#pragma once

#include "core/dates/date_serial.h"
#include "core/store/cell_table.h"

#include <string>

namespace dw {

// The folder of the data folder where a sync keeps the tasks as they were before it
// changed them, as archives of File > Archive's format, and how many it keeps.
inline constexpr const char* kSyncBackupsFolder = "sync-backups";
inline constexpr int kSyncBackupsKept = 10;

struct SyncBackup {
    bool ok = false;
    std::string path;  // the archive's main file
    std::string error; // why it could not be written
};

// Writes the three tables as an archive in the data folder's sync-backups/, named by a
// running number and the moment, and removes all but the newest kSyncBackupsKept archives.
SyncBackup keepSyncBackup(const std::string& dataDir, const CellTable& gridStore,
                          const CellTable& gridNonday, const CellTable& completed, DateSerial now);

} // namespace dw
