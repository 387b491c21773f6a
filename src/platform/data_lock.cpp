#include "platform/data_lock.h"

#include "core/store/helpers.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QString>
#include <QTemporaryFile>
#include <cstdlib>

namespace dw {

DataDirLock::DataDirLock(const std::string& dataDir, int namelessLockAgeMs)
    : dataDir_(dataDir), namelessLockAgeMs_(namelessLockAgeMs),
      lock_(std::make_unique<QLockFile>(QString::fromStdString(joinPath(dataDir, kFileName)))) {
    // A running program may hold the lock for days: never treat it as stale by age. A lock
    // whose process has ended is still recognised and taken over.
    lock_->setStaleLockTime(0);
}

DataDirLock::~DataDirLock() = default;

DataDirLock::Result DataDirLock::lock() {
    if (lock_->tryLock(0))
        return Result::Locked;
    // The lock file could not be created at all (no permission, a read-only file system,
    // no space): that is the folder, not another program.
    if (lock_->error() != QLockFile::LockFailedError)
        return Result::FolderNotWritable;
    // A lock file is there. It may be a crashed run's leftover that cannot be removed
    // because the folder has become read-only; only a writable folder means a live holder.
    if (!folderWritable(dataDir_))
        return Result::FolderNotWritable;
    // A process killed between making the lock file and writing its id into it leaves a
    // file that names no holder, which would lock the folder for good. Its maker writes the
    // id at once, so such a file older than a few seconds has no live holder.
    qint64 pid = 0;
    QString host, app;
    const QFileInfo file(QString::fromStdString(joinPath(dataDir_, kFileName)));
    if (!lock_->getLockInfo(&pid, &host, &app) && file.exists() &&
        std::abs(file.lastModified().msecsTo(QDateTime::currentDateTime())) > namelessLockAgeMs_) {
        lock_->removeStaleLockFile();
        if (lock_->tryLock(0))
            return Result::Locked;
    }
    return Result::HeldByAnother;
}

bool DataDirLock::folderWritable(const std::string& dataDir) {
    QTemporaryFile probe(QString::fromStdString(joinPath(dataDir, ".dayweaver-probe-XXXXXX")));
    return probe.open();
}
void DataDirLock::unlock() {
    lock_->unlock();
}
bool DataDirLock::isLocked() const {
    return lock_->isLocked();
}

long long DataDirLock::holderPid() const {
    qint64 pid = 0;
    QString host, app;
    return lock_->getLockInfo(&pid, &host, &app) ? pid : 0;
}

} // namespace dw

namespace dw {

std::string DataDirLock::holderName() const {
    qint64 pid = 0;
    QString host, app;
    return lock_->getLockInfo(&pid, &host, &app) ? app.toStdString() : std::string();
}

} // namespace dw
