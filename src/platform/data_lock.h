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
    // A lock file that names no holder (its maker was killed before it wrote its id) is
    // taken over once it is older than this.
    static constexpr int kNamelessLockAgeMs = 5000;

    explicit DataDirLock(const std::string& dataDir, int namelessLockAgeMs = kNamelessLockAgeMs);
    ~DataDirLock();
    DataDirLock(const DataDirLock&) = delete;
    DataDirLock& operator=(const DataDirLock&) = delete;

    enum class Result {
        Locked,            // this process holds the folder now
        HeldByAnother,     // another live process (a running Dayweaver) holds it
        FolderNotWritable, // the lock file cannot be created: nothing can be saved there
    };
    // Takes the lock without waiting and says why when it could not.
    Result lock();
    // The same, true only when locked.
    bool tryLock() { return lock() == Result::Locked; }
    void unlock();
    bool isLocked() const;
    // The process that holds the lock, when known (0 otherwise).
    long long holderPid() const;
    // The name of the program that holds the lock, when known (empty otherwise).
    std::string holderName() const;

    static constexpr const char* kFileName = "dayweaver.lock";

    // Whether a new file can be made in the folder (a probe file, removed at once).
    static bool folderWritable(const std::string& dataDir);

private:
    std::string dataDir_;
    int namelessLockAgeMs_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace dw
