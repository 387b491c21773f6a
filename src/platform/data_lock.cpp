#include "platform/data_lock.h"

#include "core/store/helpers.h"

#include <QLockFile>
#include <QString>

namespace dw {

DataDirLock::DataDirLock(const std::string& dataDir)
    : lock_(std::make_unique<QLockFile>(QString::fromStdString(joinPath(dataDir, kFileName)))) {
    // A running program may hold the lock for days: never treat it as stale by age. A lock
    // whose process has ended is still recognised and taken over.
    lock_->setStaleLockTime(0);
}

DataDirLock::~DataDirLock() = default;

bool DataDirLock::tryLock() {
    return lock_->tryLock(0);
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
