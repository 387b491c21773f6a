#pragma once

#include <string>

namespace dw {

// The folder that holds the data files: DAYWEAVER_DATA when set; else the program's own
// folder when it already holds grid.grd (a portable install); else the per-user data
// folder (~/.local/share/Dayweaver on Linux). The folder is created when missing.
// Answers an empty text when it cannot be created.
std::string resolveDataDir(const std::string& programDir);

// The folder of the read-only files the program ships (the alarm sound): the program's own
// folder when the sound lies beside it (a build tree or a portable install), else the
// installed share folder found from the program's folder (bin/../share/dayweaver), else
// the program's own folder.
std::string shippedFilesDir(const std::string& programDir);

// Creates the folder (and its parents) when missing; false when that fails.
bool ensureDir(const std::string& dir);

} // namespace dw
