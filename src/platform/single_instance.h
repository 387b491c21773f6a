#pragma once

#include "core/commands/write_commands.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace dw {

class DataDirLock;

// One running program per data folder. A start takes a short start-up lock (so that two
// starts at the same moment do not both go ahead), asks a running program on the same
// folder to come forward, and otherwise takes the folder's lock and listens for later
// starts and for the command line's writing commands. The socket and the start-up lock
// live in the user's private runtime folder (runtime_dir.h), and both ends make sure that
// the process at the other end runs as the same user before trusting it.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Start {
        Proceed,         // this process is the one: it holds the folder (or, when
                         // dataFolderReadOnly(), cannot write it at all) and listens
        Forwarded,       // another program runs on the folder and was asked to come forward
        StillStarting,   // another start did not finish in time
        DataFolderInUse, // the folder's lock is held by a process that does not answer
    };

    explicit SingleInstance(std::string dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Runs the checks above, waiting at most startupWaitMs for another start to finish,
    // answerWaitMs for a running program to answer and dataWaitMs for a process that holds
    // the folder without answering to let go of it. The start-up lock is kept until
    // finishStartup.
    Start start(int startupWaitMs = 10000, int answerWaitMs = 3000, int dataWaitMs = 2000);
    // The window exists: later starts may now find it.
    void finishStartup();

    // After Proceed: the folder's lock could not be created because the folder cannot be
    // written (not because another program holds it). The program then runs read-only:
    // it shows readOnlyDataFolderNotice once and switches saving off with
    // setReadOnlyDataFolder (core/store/save_guard.h). It still listens, so a later start
    // brings this one forward instead of starting a second read-only copy.
    bool dataFolderReadOnly() const { return readOnly_; }

    QString serverName() const { return serverName_; }
    bool isListening() const;

    // The local server's name for a data folder: the socket's path in the user's runtime
    // folder, the same for every spelling of the folder's path, different for each folder
    // and user. Empty when there is no private runtime folder to put it in.
    static QString serverNameFor(const std::string& dataDir);
    // Asks the program listening on `name` to come forward; true when it confirmed. A
    // server that runs as another user is sent nothing and counts as no answer.
    static bool requestActivation(const QString& name, int timeoutMs);
    // Hands the words of a writing command (the command line's words after the data folder
    // option) to the program listening on `name` and waits up to answerMs for what the
    // command printed and its exit status. Nothing when no program of this user answers
    // (nobody listens, the server runs as another user, or it did not answer in time).
    static std::optional<CommandOutcome> sendCommand(const QString& name,
                                                     const std::vector<std::string>& words,
                                                     int connectMs, int answerMs);

    // Runs a command handed over by the command line and answers what it printed. Without
    // a handler such commands are answered with a refusal.
    using CommandHandler = std::function<CommandOutcome(const std::vector<std::string>& words)>;
    void setCommandHandler(CommandHandler handler) { commandHandler_ = std::move(handler); }

signals:
    // A later start asked this program to show its window.
    void activationRequested();

private:
    void onNewConnection();
    void readRequest(QLocalSocket* socket);

    std::string dataDir_;
    QString serverName_;
    std::unique_ptr<QLockFile> startupLock_;
    std::unique_ptr<DataDirLock> dataLock_;
    QLocalServer* server_ = nullptr;
    CommandHandler commandHandler_;
    bool readOnly_ = false;
};

} // namespace dw
