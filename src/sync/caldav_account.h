#pragma once

#include <QString>
#include <optional>

namespace dw {

// The sync account the options keep: the server's address, the user, the chosen calendar
// (empty: the one the first sync found, then kept in the data folder) and how often the
// program syncs (0: only when asked).
struct SyncAccount {
    QString server;
    QString user;
    QString calendar;
    int intervalMinutes = 0;
};

SyncAccount loadSyncAccount();
void saveSyncAccount(const SyncAccount& account);

// The password for a host and user from a netrc file, as curl reads it. The file must be
// readable by its owner only (mode 0600 or stricter); otherwise, or when it has no entry,
// `error` says why and nothing is answered.
std::optional<QString> netrcPassword(const QString& path, const QString& host, const QString& user,
                                     QString& error);

} // namespace dw
