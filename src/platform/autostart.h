#pragma once

#include <string>

namespace dw {

// The log-on autostart entry: the XDG autostart file dayweaver.desktop in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart when unset), starting the program file.
std::string autostartFilePath();

// True when the entry exists and names a program to start (a non-empty Exec line).
bool autostartEntryExists();

// on: writes the entry for the program file, replacing any old one atomically.
// off: deletes the entry; deleting an absent entry is no error.
// False, with `error` saying why, when the entry could not be written or deleted.
bool writeAutostart(bool on, const std::string& programPath, std::string& error);

// The program path as one Exec argument, quoted where the desktop-entry rules need it.
std::string desktopExecArgument(const std::string& programPath);

} // namespace dw
