#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>

class QLocalServer;
class QLockFile;

namespace dw {

class DataDirLock;

// One running program per data folder. A start takes a short start-up lock (so that two
// starts at the same moment do not both go ahead), asks a running program on the same
// folder to come forward, and otherwise takes the folder's lock and listens for later
// starts.
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

    // The local server's name for a data folder: the same for every spelling of the
    // folder's path, different for each folder and user.
    static QString serverNameFor(const std::string& dataDir);
    // Asks the program listening on `name` to come forward; true when it confirmed.
    static bool requestActivation(const QString& name, int timeoutMs);

signals:
    // A later start asked this program to show its window.
    void activationRequested();

private:
    void onNewConnection();

    std::string dataDir_;
    QString serverName_;
    std::unique_ptr<QLockFile> startupLock_;
    std::unique_ptr<DataDirLock> dataLock_;
    QLocalServer* server_ = nullptr;
    bool readOnly_ = false;
};

} // namespace dw
