#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace dw {

// The data folder's lock file "dayweaver.lock". The program holds it while it runs; the
// command-line companion holds it while it writes and refuses to write while another
// process holds it, so the two never overwrite each other's changes. A lock left behind
// by a process that has ended is taken over.
class DataDirLock {
public:
    explicit DataDirLock(const std::string& dataDir);
    ~DataDirLock();
    DataDirLock(const DataDirLock&) = delete;
    DataDirLock& operator=(const DataDirLock&) = delete;

    // Takes the lock without waiting; false when another process holds it.
    bool tryLock();
    void unlock();
    bool isLocked() const;
    // The process that holds the lock, when known (0 otherwise).
    long long holderPid() const;

    static constexpr const char* kFileName = "dayweaver.lock";

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace dw
