#pragma once

#include <optional>
#include <string>

namespace dw {

// Saves that must not happen during this run. Every file the program writes goes through
// writeFileAtomic, which asks here first, so these switches cover the task files, the
// completed tasks, the holidays, the category lists and the spelling words alike.

// The data folder cannot be written (its lock file could not even be created): every save
// of a file in it is refused, with a reason that names the folder. The program then runs
// read-only instead of stopping. An empty folder switches this off.
void setReadOnlyDataFolder(const std::string& dir);
std::string readOnlyDataFolder();
// The text to show once when the program starts read-only.
std::string readOnlyDataFolderNotice(const std::string& dir);

// A file that could not be read and of which no copy could be kept aside: saving it would
// destroy the only copy, so it is never saved during this run.
void refuseSavingFile(const std::string& path, std::string reason);

// Why a save of `path` is refused, or nothing when it may go ahead.
std::optional<std::string> saveRefusal(const std::string& path);

// Forgets every refusal (a new run in tests).
void clearSaveRefusals();

} // namespace dw
