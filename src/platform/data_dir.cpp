#include "platform/data_dir.h"

#include "core/settings/option_key_table.h"
#include "core/store/helpers.h"
#include "dayweaver_config.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace dw {

bool ensureDir(const std::string& dir) {
    return !dir.empty() && QDir().mkpath(QString::fromStdString(dir));
}

std::string resolveDataDir(const std::string& programDir) {
    std::string dir;
    const QByteArray env = qgetenv("DAYWEAVER_DATA");
    if (!env.isEmpty()) {
        dir = env.toStdString();
    } else if (!programDir.empty() &&
               QFileInfo(QString::fromStdString(joinPath(programDir, "grid.grd"))).isFile()) {
        dir = programDir;
    } else {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (base.isEmpty())
            return {};
        dir = (base + "/Dayweaver").toStdString();
    }
    return ensureDir(dir) ? dir : std::string();
}

std::string shippedFilesDir(const std::string& programDir) {
    const QString dir = QString::fromStdString(programDir);
    const QString sound = QString::fromUtf8(kDefaultAlarmFile.data(), kDefaultAlarmFile.size());
    if (QFileInfo(QDir(dir).filePath(sound)).isFile())
        return programDir;
    const QString installed = QDir::cleanPath(QDir(dir).filePath(kShippedFilesFromProgramDir));
    if (QFileInfo(installed).isDir())
        return QDir::toNativeSeparators(installed).toStdString();
    return programDir;
}

} // namespace dw
