#pragma once

#include "platform/data_lock.h"

#include <optional>
#include <string>

namespace dw::cli {

// Takes the data folder's lock for a writing command. Writers of the command line queue: a
// folder another dayweaver-cli is writing to is waited for, up to waitMs. Answers nothing
// once locked, else the message for the user: the folder cannot be written, another
// dayweaver-cli kept it for the whole wait, or the program holds it.
std::optional<std::string> takeWriteLock(DataDirLock& lock, const std::string& dataDir,
                                         int waitMs = 10000);

} // namespace dw::cli
