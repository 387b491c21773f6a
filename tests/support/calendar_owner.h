#pragma once

#include "support/radicale_server.h"
#include "sync/caldav_client.h"

#include <QEventLoop>
#include <QSslCertificate>
#include <QTimer>
#include <gtest/gtest.h>
#include <utility>

namespace dw::test {

// Waits on the event loop for a client call's answer. The guard only keeps a broken server
// from hanging the run.
template <typename T, typename Call> std::pair<CalDavError, T> await(Call call) {
    QEventLoop loop;
    std::pair<CalDavError, T> out;
    call([&](const CalDavError& e, const T& value) {
        out = {e, value};
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return out;
}

// The test's own client of the calendar server, standing for another device: it makes the
// calendar, reads what the server holds and changes it behind the program's back. Over
// HTTPS it trusts the server's certificate.
class CalendarOwner {
public:
    explicit CalendarOwner(const RadicaleServer& server)
        : server_(server), client_(server.url(), RadicaleServer::kUser, RadicaleServer::kPassword) {
        if (server.https())
            client_.addCaCertificates(
                QSslCertificate::fromPath(QString::fromStdString(server.certificatePath())));
    }

    CalDavClient& client() { return client_; }

    // The calendar the tests sync with, or another one of the user's.
    bool makeCalendar(const QString& path = {}, const QString& name = QStringLiteral("Tasks")) {
        const QString where = path.isEmpty() ? server_.calendarPath() : path;
        const auto made = await<bool>([&](auto done) { client_.makeCalendar(where, name, done); });
        EXPECT_TRUE(made.first.ok()) << made.first.message.toStdString();
        return made.first.ok();
    }

    QVector<CalDavObject> objects() {
        const auto listed = await<QVector<CalDavObject>>(
            [&](auto done) { client_.listObjects(server_.calendarPath(), done); });
        EXPECT_TRUE(listed.first.ok()) << listed.first.message.toStdString();
        return listed.second;
    }

    // Puts an object at `href` (a full path, or a file name in the calendar); its new ETag.
    QString put(const QString& href, const QString& text, const QString& ifMatch = {}) {
        const QString where = href.startsWith('/') ? href : server_.calendarPath() + href;
        const auto put =
            await<QString>([&](auto done) { client_.put(where, text.toUtf8(), ifMatch, done); });
        EXPECT_TRUE(put.first.ok()) << put.first.message.toStdString();
        return put.second;
    }

private:
    const RadicaleServer& server_;
    CalDavClient client_;
};

} // namespace dw::test
