#pragma once

#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <fstream>
#include <string>

namespace dw::test {

// Debian's radicale on 127.0.0.1 at a free port, with its storage, its users file and its
// configuration in a temporary folder; one user "alice" with the password "secret". It is
// stopped when the fixture goes, and can be stopped and started again on the same port and
// storage to test an unreachable server.
class RadicaleServer {
public:
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "secret";

    RadicaleServer() {
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, 0))
            port_ = probe.serverPort();
        probe.close();
        dir_.write("users", std::string(kUser) + ":" + kPassword + "\n");
        dir_.write("config",
                   "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) +
                       "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " + dir_.file("users") +
                       "\nhtpasswd_encryption = plain\n"
                       "[storage]\nfilesystem_folder = " +
                       dir_.file("collections") +
                       "\n[rights]\ntype = owner_only\n"
                       "[web]\ntype = none\n[logging]\nlevel = warning\n");
        start();
    }
    ~RadicaleServer() { stop(); }
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // True once the server answers on its port.
    bool start() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("radicale"),
                       {QStringLiteral("--config"), QString::fromStdString(dir_.file("config"))});
        if (!process_.waitForStarted(10000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 15000 && process_.state() == QProcess::Running) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            if (socket.waitForConnected(200))
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    bool running() const { return process_.state() == QProcess::Running; }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port_)); }
    QString calendarPath() const { return QStringLiteral("/alice/tasks/"); }
    const TempDir& folder() const { return dir_; }

private:
    TempDir dir_;
    quint16 port_ = 0;
    QProcess process_;
};

} // namespace dw::test
