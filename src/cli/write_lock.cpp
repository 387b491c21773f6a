#include "cli/write_lock.h"

#include "core/commands/write_commands.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace dw::cli {

std::optional<std::string> takeWriteLock(DataDirLock& lock, const std::string& dataDir,
                                         int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        switch (lock.lock()) {
        case DataDirLock::Result::Locked:
            return std::nullopt;
        case DataDirLock::Result::FolderNotWritable:
            return readOnlyFolderRefusal(dataDir);
        case DataDirLock::Result::HeldByAnother:
            break;
        }
        // Only the program holds the folder for long; a command line writer is done in a
        // moment, so the others wait their turn. A lock just taken or just let go may not
        // name its holder: that is waited for too.
        const std::string holder = lock.holderName();
        if (!holder.empty() && holder != QCoreApplication::applicationName().toStdString())
            return "Dayweaver is running with the data folder " + dataDir +
                   "; close it before changing tasks from the command line";
        if (std::chrono::steady_clock::now() >= deadline)
            return "another dayweaver-cli is writing to " + dataDir;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace dw::cli
