#include "sync/caldav_account.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

namespace dw {

SyncAccount loadSyncAccount() {
    QSettings s(QStringLiteral("Velmora Corporation"), QStringLiteral("Task"));
    s.beginGroup(QStringLiteral("Sync"));
    SyncAccount a;
    a.server = s.value(QStringLiteral("Server")).toString();
    a.user = s.value(QStringLiteral("User")).toString();
    a.calendar = s.value(QStringLiteral("Calendar")).toString();
    a.intervalMinutes = s.value(QStringLiteral("Interval"), 0).toInt();
    if (a.intervalMinutes != 5 && a.intervalMinutes != 15 && a.intervalMinutes != 60)
        a.intervalMinutes = 0;
    return a;
}

void saveSyncAccount(const SyncAccount& a) {
    QSettings s(QStringLiteral("Velmora Corporation"), QStringLiteral("Task"));
    s.beginGroup(QStringLiteral("Sync"));
    s.setValue(QStringLiteral("Server"), a.server);
    s.setValue(QStringLiteral("User"), a.user);
    s.setValue(QStringLiteral("Calendar"), a.calendar);
    s.setValue(QStringLiteral("Interval"), a.intervalMinutes);
}

std::optional<QString> netrcPassword(const QString& path, const QString& host, const QString& user,
                                     QString& error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        error = path + QStringLiteral(" does not exist");
        return std::nullopt;
    }
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (info.permissions() & others) {
        error = path + QStringLiteral(" must be readable by its owner only (chmod 600)");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(" cannot be read");
        return std::nullopt;
    }
    const QStringList words =
        QString::fromUtf8(file.readAll())
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    // Entries: "machine HOST login USER password PW"; "default" matches any host.
    bool hostMatches = false;
    QString login, password;
    auto found = [&] { return hostMatches && login == user && !password.isNull(); };
    for (int i = 0; i < words.size(); ++i) {
        const QString& w = words[i];
        const QString next = i + 1 < words.size() ? words[i + 1] : QString();
        if (w == QLatin1String("machine") || w == QLatin1String("default")) {
            if (found())
                return password;
            hostMatches = w == QLatin1String("default") || next == host;
            login.clear();
            password = QString();
            if (w == QLatin1String("machine"))
                ++i;
        } else if (w == QLatin1String("login")) {
            login = next;
            ++i;
        } else if (w == QLatin1String("password")) {
            password = next;
            ++i;
        }
    }
    if (found())
        return password;
    error = path + QStringLiteral(" has no password for ") + user + QStringLiteral(" on ") + host;
    return std::nullopt;
}

} // namespace dw
