#include "app/sync/password_keyring.h"

#include <QUrl>
#include <qt6keychain/keychain.h>

namespace dw {
namespace {

const QString kService = QStringLiteral("Dayweaver");

KeyringAnswer answerOf(const QKeychain::Job& job) {
    KeyringAnswer a;
    switch (job.error()) {
    case QKeychain::NoError:
        a.status = KeyringAnswer::Status::Found;
        break;
    case QKeychain::EntryNotFound:
        a.status = KeyringAnswer::Status::NotFound;
        break;
    default:
        a.status = KeyringAnswer::Status::Unavailable;
        a.error = job.errorString();
        break;
    }
    return a;
}

class DesktopKeyring : public PasswordKeyring {
public:
    void read(const QString& key, Done done) override {
        auto* job = new QKeychain::ReadPasswordJob(kService);
        job->setAutoDelete(true);
        job->setInsecureFallback(false);
        job->setKey(key);
        QObject::connect(job, &QKeychain::Job::finished, [job, done = std::move(done)] {
            KeyringAnswer a = answerOf(*job);
            if (a.status == KeyringAnswer::Status::Found)
                a.password = job->textData();
            done(a);
        });
        job->start();
    }

    void write(const QString& key, const QString& password, Done done) override {
        auto* job = new QKeychain::WritePasswordJob(kService);
        job->setAutoDelete(true);
        job->setInsecureFallback(false);
        job->setKey(key);
        job->setTextData(password);
        QObject::connect(job, &QKeychain::Job::finished,
                         [job, done = std::move(done)] { done(answerOf(*job)); });
        job->start();
    }
};

PasswordKeyring* installed = nullptr;

} // namespace

QString keyringKey(const SyncAccount& account) {
    const QUrl url(account.server.trimmed());
    QString host = url.host();
    if (url.port() != -1)
        host += QLatin1Char(':') + QString::number(url.port());
    return account.user + QLatin1Char('@') + host;
}

std::unique_ptr<PasswordKeyring> makeDesktopKeyring() {
    return std::make_unique<DesktopKeyring>();
}

PasswordKeyring& passwordKeyring() {
    if (installed)
        return *installed;
    static const std::unique_ptr<PasswordKeyring> desktop = makeDesktopKeyring();
    return *desktop;
}

void setPasswordKeyring(PasswordKeyring* keyring) {
    installed = keyring;
}

} // namespace dw
