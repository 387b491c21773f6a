#pragma once

#include "core/output/completed_tasks.h"
#include "core/store/task_store.h"

#include <optional>
#include <string>
#include <vector>

namespace dw {

// An archive is three table files sharing one name apart from their extensions: the main
// file (".arb" unless the user chose another) holds the dated tasks, the ".AR2" file the
// to-do tasks and the ".AR3" file the completed tasks.
inline constexpr const char* kArchiveDefaultName = "backup.arb";
inline constexpr const char* kArchiveFilter = "Archive Backup (*.arb)|*.arb|All Files (*.*)|*.*";

struct ArchiveNames {
    std::string main;
    std::string todo;      // ".AR2"
    std::string completed; // ".AR3"
};

// The companions replace the main name's extension (from the last full stop of the file
// name on) or are appended to a name without one.
ArchiveNames archiveNames(const std::string& mainName);
// A name typed without an extension gets ".arb".
std::string withArchiveExtension(const std::string& name);
// Why a main name cannot be used, or nothing. A main name ending in ".AR2" or ".AR3" (in
// any letter case) would be one of its own companions and be overwritten by it.
std::optional<std::string> archiveNameProblem(const std::string& mainName);

// The outcome of archiving or restoring: every problem, each a message for the user.
struct ArchiveResult {
    bool ok = false;       // everything was done
    bool replaced = false; // restore: the tables now hold the archive's content
    ArchiveNames names;
    std::vector<std::string> problems;
};

// Writes the three tables as they are in memory. Each file is replaced whole or not at
// all; a file that could not be written is a problem of its own (the set is then
// incomplete and the result not ok).
ArchiveResult writeArchive(const std::string& mainName, const CellTable& gridStore,
                           const CellTable& gridNonday, const CellTable& completed);

// The success message naming all three files.
std::string archiveStoredMessage(const ArchiveNames& names);

inline constexpr const char* kRestoreQuestion =
    "Really restore ENTIRE system?  This will overwrite any current information. Note you may "
    "want to make an archive first!";
inline constexpr const char* kRestoreMissingFile =
    "Could not restore ... there seems to be a missing file. Looking for ARB, AR2 and AR3 file "
    "extensions";
// The message for an archive file that could not be loaded, naming it.
std::string archiveCorruptMessage(const std::string& path);

// Replaces the dated task store, the to-do table and the completed tasks by an archive's.
// All three files are loaded first; the tables are replaced only when every one loaded
// whole (not empty, not cut short) with its table's column count (6, 3 and 6), otherwise
// nothing changes and each failing file is named in a problem. The restored store is sorted
// by key (archives may be written unsorted, or in the text order of older versions) and all
// three tables are written to the data folder at once; a failed write is a problem too,
// after the tables were replaced.
ArchiveResult restoreArchive(const std::string& mainName, TaskStore& store,
                             CompletedTasks& completed);

} // namespace dw
