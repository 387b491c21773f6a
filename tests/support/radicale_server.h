#pragma once

#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <fstream>
#include <iostream>
#include <string>

namespace dw::test {

// Debian's radicale on 127.0.0.1 at a free port, with its storage, its users file and its
// configuration in a temporary folder; one user "alice" with the password "secret". It is
// stopped when the fixture goes, and can be stopped and started again on the same port and
// storage to test an unreachable server. Over HTTPS it serves a self-signed certificate for
// 127.0.0.1 made by `openssl`, which no system trusts: certificatePath() is its PEM file.
class RadicaleServer {
public:
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "secret";
    enum class Transport { Http, Https };

    explicit RadicaleServer(Transport transport = Transport::Http)
        : https_(transport == Transport::Https) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, 0))
            port_ = probe.serverPort();
        probe.close();
        std::string tls;
        if (https_ && makeCertificate())
            tls = "ssl = True\ncertificate = " + certificatePath() +
                  "\nkey = " + dir_.file("key.pem") + "\n";
        dir_.write("users", std::string(kUser) + ":" + kPassword + "\n");
        dir_.write("config",
                   "[server]\nhosts = 127.0.0.1:" + std::to_string(port_) + "\n" + tls +
                       "[auth]\ntype = htpasswd\nhtpasswd_filename = " + dir_.file("users") +
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
            if (answers())
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

    QUrl url() const {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                        .arg(https_ ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(port_));
    }
    std::string certificatePath() const { return dir_.file("cert.pem"); }
    bool https() const { return https_; }
    QString calendarPath() const { return QStringLiteral("/alice/tasks/"); }
    const TempDir& folder() const { return dir_; }

private:
    // Over HTTPS a whole request, so that the server has no half-made connection to log.
    bool answers() const {
        if (!https_) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            return socket.waitForConnected(200);
        }
        QSslSocket socket;
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port_);
        if (!socket.waitForEncrypted(1000))
            return false;
        socket.write("OPTIONS / HTTP/1.0\r\n\r\n");
        return socket.waitForReadyRead(5000);
    }

    // Valid from 2024 on, so that a command line run under faketime at a 2024 date still
    // takes it as current; the name is the address the tests use, as subjectAltName.
    bool makeCertificate() {
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("faketime"),
                      {QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("openssl"),
                       QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                       QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("36500"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"),
                       QString::fromStdString(dir_.file("key.pem")), QStringLiteral("-out"),
                       QString::fromStdString(certificatePath())});
        const bool made = openssl.waitForFinished(30000) &&
                          openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
        if (!made)
            std::cerr << "openssl: " << openssl.readAll().toStdString() << '\n';
        return made;
    }

    bool https_;
    TempDir dir_;
    quint16 port_ = 0;
    QProcess process_;
};

} // namespace dw::test
