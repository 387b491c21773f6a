#pragma once

#include "sync/caldav_account.h"

#include <QString>
#include <functional>
#include <memory>

namespace dw {

// What the keyring answered about a password.
struct KeyringAnswer {
    enum class Status {
        Found,       // read or written
        NotFound,    // the keyring works but holds no password for the account
        Unavailable, // no keyring to keep it in (no secret service, access refused, ...)
    };
    Status status = Status::Unavailable;
    QString password;
    QString error; // the keyring's own words, when unavailable
};

// Where the sync password is kept between runs: the desktop's keyring. Every call answers
// through its callback from the event loop (a keyring may ask its user to unlock it).
class PasswordKeyring {
public:
    using Done = std::function<void(const KeyringAnswer&)>;
    virtual ~PasswordKeyring() = default;
    virtual void read(const QString& key, Done done) = 0;
    virtual void write(const QString& key, const QString& password, Done done) = 0;
};

// The entry a sync account's password is kept under: the user at the server's host.
QString keyringKey(const SyncAccount& account);

// The desktop's keyring, through QtKeychain. Never falls back to a plain file.
std::unique_ptr<PasswordKeyring> makeDesktopKeyring();

// The process's keyring: the desktop's until another is installed (tests install fakes).
PasswordKeyring& passwordKeyring();
void setPasswordKeyring(PasswordKeyring* keyring);

} // namespace dw
