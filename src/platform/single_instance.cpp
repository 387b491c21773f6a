#include "platform/single_instance.h"

#include "platform/data_lock.h"
#include "platform/runtime_dir.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <QVariant>

namespace dw {

namespace {

// The two requests: "show\n" asks the program to come forward ("ok\n" confirms);
// "command <bytes>\n" is followed by the words of a writing command and answered with
// "answer <bytes>\n" and the command's exit status and output.
constexpr const char* kShowRequest = "show\n";
constexpr const char* kShowAnswer = "ok\n";
constexpr const char* kCommandHead = "command ";
constexpr const char* kAnswerHead = "answer ";
// Far more than any command's words; a larger request is junk and is dropped.
constexpr qint64 kMaxMessageBytes = 1 << 20;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

QString userName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}

QByteArray framed(const char* head, const QByteArray& payload) {
    return head + QByteArray::number(payload.size()) + '\n' + payload;
}

// The payload size of a "<head><bytes>\n" line; -1 when the line is something else.
qint64 framedSize(const QByteArray& line, const char* head) {
    if (!line.startsWith(head) || !line.endsWith('\n'))
        return -1;
    bool ok = false;
    const qint64 size = line.mid(qstrlen(head)).chopped(1).toLongLong(&ok);
    return ok && size >= 0 && size <= kMaxMessageBytes ? size : -1;
}

// Reads exactly `size` bytes, waiting at most until `deadline`.
std::optional<QByteArray> readExactly(QLocalSocket& socket, qint64 size, const QElapsedTimer& clock,
                                      int timeoutMs) {
    while (socket.bytesAvailable() < size) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left))
            return std::nullopt;
    }
    return socket.read(size);
}

std::optional<QByteArray> readLine(QLocalSocket& socket, const QElapsedTimer& clock,
                                   int timeoutMs) {
    while (!socket.canReadLine()) {
        const int left = timeoutMs - static_cast<int>(clock.elapsed());
        if (socket.bytesAvailable() > 64 || left <= 0 || !socket.waitForReadyRead(left))
            return std::nullopt;
    }
    return socket.readLine(65);
}

// Connects to `name` and makes sure the server runs as this user before anything is sent.
bool connectToOwnServer(QLocalSocket& socket, const QString& name, int timeoutMs) {
    if (name.isEmpty())
        return false;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!peerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        return false;
    }
    return true;
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
    const QString base = "dayweaver-" + QString::fromLatin1(hash.toHex().left(24));
#if defined(Q_OS_UNIX)
    const std::string runtime = userRuntimeDir();
    if (runtime.empty())
        return {};
    return QString::fromStdString(runtime) + "/" + base;
#else
    return base;
#endif
}

bool SingleInstance::requestActivation(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    if (!connectToOwnServer(socket, name, timeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QElapsedTimer clock;
    clock.start();
    return readLine(socket, clock, timeoutMs) == QByteArray(kShowAnswer);
}

std::optional<CommandOutcome> SingleInstance::sendCommand(const QString& name,
                                                          const std::vector<std::string>& words,
                                                          int connectMs, int answerMs) {
    QLocalSocket socket;
    if (!connectToOwnServer(socket, name, connectMs))
        return std::nullopt;
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(kStreamVersion);
        QList<QByteArray> list;
        for (const std::string& w : words)
            list.append(QByteArray::fromStdString(w));
        out << list;
    }
    socket.write(framed(kCommandHead, payload));
    QElapsedTimer clock;
    clock.start();
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(answerMs))
            return std::nullopt;
    const std::optional<QByteArray> head = readLine(socket, clock, answerMs);
    const qint64 size = head ? framedSize(*head, kAnswerHead) : -1;
    if (size < 0)
        return std::nullopt;
    const std::optional<QByteArray> body = readExactly(socket, size, clock, answerMs);
    if (!body)
        return std::nullopt;
    QDataStream in(*body);
    in.setVersion(kStreamVersion);
    qint32 status = 0;
    QByteArray out, err;
    in >> status >> out >> err;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return CommandOutcome{status, out.toStdString(), err.toStdString()};
}

SingleInstance::Start SingleInstance::start(int startupWaitMs, int answerWaitMs, int dataWaitMs) {
    // Without a private runtime folder there is no safe place for the start-up lock and the
    // socket: the program runs on its own, and the folder's lock still keeps it the only
    // writer.
    if (!serverName_.isEmpty()) {
        startupLock_ = std::make_unique<QLockFile>(serverName_ + ".startup.lock");
        if (!startupLock_->tryLock(startupWaitMs)) {
            startupLock_.reset();
            return Start::StillStarting;
        }
        if (requestActivation(serverName_, answerWaitMs))
            return Start::Forwarded;
    }

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

    if (serverName_.isEmpty())
        return Start::Proceed;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the folder (or nobody can), so whatever has this name in our private folder
    // is a crashed program's leftover.
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
        // Only this user's own processes may ask anything of the program.
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    // The size of the command being received; none until its head line has come.
    constexpr const char* kExpected = "commandBytes";
    for (;;) {
        const QVariant expected = socket->property(kExpected);
        if (expected.isValid()) {
            const qint64 size = expected.toLongLong();
            if (socket->bytesAvailable() < size)
                return;
            socket->setProperty(kExpected, QVariant());
            QDataStream in(socket->read(size));
            in.setVersion(kStreamVersion);
            QList<QByteArray> list;
            in >> list;
            CommandOutcome outcome;
            if (in.status() != QDataStream::Ok || !in.atEnd()) {
                outcome = refusedOutcome("the program could not read the command");
            } else if (!commandHandler_) {
                outcome = refusedOutcome("the program does not take commands");
            } else {
                std::vector<std::string> words;
                words.reserve(static_cast<std::size_t>(list.size()));
                for (const QByteArray& w : list)
                    words.push_back(w.toStdString());
                outcome = commandHandler_(words);
            }
            QByteArray payload;
            QDataStream out(&payload, QIODevice::WriteOnly);
            out.setVersion(kStreamVersion);
            out << qint32(outcome.status) << QByteArray::fromStdString(outcome.out)
                << QByteArray::fromStdString(outcome.err);
            socket->write(framed(kAnswerHead, payload));
            socket->flush();
            continue;
        }
        if (!socket->canReadLine()) {
            // A client that sends junk without a line end cannot fill our memory.
            if (socket->bytesAvailable() > 64)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(65);
        if (line == kShowRequest) {
            socket->write(kShowAnswer);
            socket->flush();
            emit activationRequested();
        } else if (const qint64 size = framedSize(line, kCommandHead); size >= 0) {
            socket->setProperty(kExpected, size);
        }
    }
}

} // namespace dw
