#include "platform/single_instance.h"

#include "platform/data_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace dw {

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr const char* kShowAnswer = "ok\n";

QString userName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}

QString startupLockPath(const QString& serverName) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::tempPath();
    return dir + "/" + serverName + ".startup.lock";
}

} // namespace

SingleInstance::SingleInstance(std::string dataDir, QObject* parent)
    : QObject(parent), dataDir_(std::move(dataDir)), serverName_(serverNameFor(dataDir_)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(const std::string& dataDir) {
    const QFileInfo info(QString::fromStdString(dataDir));
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash((userName() + "\n" + path).toUtf8(), QCryptographicHash::Sha256);
    return "dayweaver-" + QString::fromLatin1(hash.toHex().left(24));
}

bool SingleInstance::requestActivation(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kShowAnswer;
}

SingleInstance::Start SingleInstance::start(int startupWaitMs, int answerWaitMs, int dataWaitMs) {
    startupLock_ = std::make_unique<QLockFile>(startupLockPath(serverName_));
    if (!startupLock_->tryLock(startupWaitMs)) {
        startupLock_.reset();
        return Start::StillStarting;
    }
    if (requestActivation(serverName_, answerWaitMs))
        return Start::Forwarded;

    // Nobody answers. The folder's lock tells a dead program's leftovers (taken over) from
    // a live process that holds the folder without answering, such as the command-line
    // companion in the middle of a write: give that one a moment to finish.
    dataLock_ = std::make_unique<DataDirLock>(dataDir_);
    DataDirLock::Result locked = dataLock_->lock();
    for (int waited = 0; locked == DataDirLock::Result::HeldByAnother && waited < dataWaitMs;
         waited += 100) {
        QThread::msleep(100);
        locked = dataLock_->lock();
    }
    if (locked == DataDirLock::Result::HeldByAnother) {
        dataLock_.reset();
        return Start::DataFolderInUse;
    }
    // A folder nobody can write holds nothing to protect from a second writer.
    readOnly_ = locked == DataDirLock::Result::FolderNotWritable;
    if (readOnly_)
        dataLock_.reset();

    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the folder (or nobody can), so a socket by this name is a crashed program's
    // leftover.
    QLocalServer::removeServer(serverName_);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    // Without a server the program still runs; a later start then finds the folder locked
    // and says so instead of bringing this window forward.
    server_->listen(serverName_);
    return Start::Proceed;
}

void SingleInstance::finishStartup() {
    startupLock_.reset();
}

bool SingleInstance::isListening() const {
    return server_ && server_->isListening();
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() != kShowRequest)
                    continue;
                socket->write(kShowAnswer);
                socket->flush();
                emit activationRequested();
            }
            // A client that sends junk without a line end cannot fill our memory.
            if (socket->bytesAvailable() > 64)
                socket->abort();
        });
    }
}

} // namespace dw
