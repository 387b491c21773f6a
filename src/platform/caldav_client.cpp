#include "platform/caldav_client.h"

#include "platform/caldav_xml.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <memory>

namespace dw {
namespace {

const QByteArray kPropfindPrincipal = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:"><d:prop><d:current-user-principal/></d:prop></d:propfind>)";

const QByteArray kPropfindHome = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
<d:prop><c:calendar-home-set/></d:prop></d:propfind>)";

const QByteArray kPropfindCalendars = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
<d:prop><d:resourcetype/><d:displayname/><c:supported-calendar-component-set/></d:prop>
</d:propfind>)";

const QByteArray kPropfindSyncToken = R"(<?xml version="1.0" encoding="utf-8"?>
<d:propfind xmlns:d="DAV:"><d:prop><d:sync-token/></d:prop></d:propfind>)";

const QByteArray kCalendarQuery = R"(<?xml version="1.0" encoding="utf-8"?>
<c:calendar-query xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">
<d:prop><d:getetag/><c:calendar-data/></d:prop>
<c:filter><c:comp-filter name="VCALENDAR"/></c:filter>
</c:calendar-query>)";

QByteArray syncCollectionBody(const QString& token) {
    return QByteArray(R"(<?xml version="1.0" encoding="utf-8"?>
<d:sync-collection xmlns:d="DAV:"><d:sync-token>)") +
           token.toHtmlEscaped().toUtf8() +
           R"(</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>
</d:sync-collection>)";
}

QByteArray makeCalendarBody(const QString& name) {
    return QByteArray(R"(<?xml version="1.0" encoding="utf-8"?>
<c:mkcalendar xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:set><d:prop>
<d:displayname>)") +
           name.toHtmlEscaped().toUtf8() + R"(</d:displayname>
<c:supported-calendar-component-set><c:comp name="VEVENT"/><c:comp name="VTODO"/>
</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>)";
}

CalDavError errorOf(QNetworkReply* reply) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    CalDavError e;
    e.status = status;
    if (status == 401) {
        e.kind = CalDavError::Kind::WrongPassword;
        e.message = QStringLiteral("The server did not accept the user name and password.");
    } else if (status == 412) {
        e.kind = CalDavError::Kind::PreconditionFailed;
        e.message = QStringLiteral("The task was changed on the server meanwhile.");
    } else if (status >= 400) {
        e.kind = CalDavError::Kind::Refused;
        e.message =
            QStringLiteral("The server refused the request (%1 %2).")
                .arg(status)
                .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    } else if (reply->error() == QNetworkReply::SslHandshakeFailedError) {
        e.kind = CalDavError::Kind::Tls;
        e.message = QStringLiteral("The secure connection to the server failed: %1")
                        .arg(reply->errorString());
    } else if (reply->error() != QNetworkReply::NoError) {
        e.kind = CalDavError::Kind::Unreachable;
        e.message = QStringLiteral("The server could not be reached: %1").arg(reply->errorString());
    }
    return e;
}

CalDavError badAnswer(const QString& what) {
    return {CalDavError::Kind::BadAnswer, 207,
            QStringLiteral("The server's answer could not be read (%1).").arg(what)};
}

} // namespace

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

CalDavClient::CalDavClient(QUrl server, QString user, QString password, QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), server_(std::move(server)) {
    if (!user.isEmpty())
        authorization_ = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
    // The credentials go with every request; a 401 is an answer, not a question.
    network_->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

CalDavClient::~CalDavClient() = default;

void CalDavClient::addCaCertificates(const QList<QSslCertificate>& certificates) {
    if (certificates.isEmpty())
        return;
    extraCaCertificates_ += certificates;
    // The system's authorities stay trusted: the extra ones add to them, never replace them.
    tls_ = QSslConfiguration::defaultConfiguration();
    tls_->setCaCertificates(QSslConfiguration::systemCaCertificates() + extraCaCertificates_);
}

QUrl CalDavClient::resolved(const QString& href) const {
    return server_.resolved(QUrl(href));
}

void CalDavClient::send(const QByteArray& verb, const QUrl& url, const QByteArray& body, int depth,
                        const QList<QPair<QByteArray, QByteArray>>& headers, Finished finished) {
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs_);
    if (tls_)
        request.setSslConfiguration(*tls_);
    if (!authorization_.isEmpty())
        request.setRawHeader("Authorization", authorization_);
    if (depth >= 0)
        request.setRawHeader("Depth", QByteArray::number(depth));
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          verb == "PUT" ? "text/calendar; charset=utf-8"
                                        : "application/xml; charset=utf-8");
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    QNetworkReply* reply = network_->sendCustomRequest(request, verb, body);
    connect(reply, &QNetworkReply::finished, this, [reply, finished = std::move(finished)] {
        reply->deleteLater();
        finished(errorOf(reply), reply);
    });
}

void CalDavClient::findPrincipal(Done<QString> done) {
    send("PROPFIND", server_, kPropfindPrincipal, 0, {},
         [this, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             if (answer)
                 for (const DavResponse& r : answer->responses) {
                     const auto it = r.properties.find(QStringLiteral("current-user-principal"));
                     if (it != r.properties.end() && !it->hrefs.isEmpty())
                         return done({}, resolved(it->hrefs.front()).path());
                 }
             done(badAnswer(QStringLiteral("no current-user-principal")), {});
         });
}

void CalDavClient::findCalendarHome(const QString& principal, Done<QString> done) {
    send("PROPFIND", resolved(principal), kPropfindHome, 0, {},
         [this, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             if (answer)
                 for (const DavResponse& r : answer->responses) {
                     const auto it = r.properties.find(QStringLiteral("calendar-home-set"));
                     if (it != r.properties.end() && !it->hrefs.isEmpty())
                         return done({}, withSlash(resolved(it->hrefs.front()).path()));
                 }
             done(badAnswer(QStringLiteral("no calendar-home-set")), {});
         });
}

void CalDavClient::listCalendars(const QString& home, Done<QVector<CalendarInfo>> done) {
    send("PROPFIND", resolved(home), kPropfindCalendars, 1, {},
         [this, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             if (!answer)
                 return done(badAnswer(QStringLiteral("not a multistatus")), {});
             QVector<CalendarInfo> calendars;
             for (const DavResponse& r : answer->responses) {
                 const auto type = r.properties.find(QStringLiteral("resourcetype"));
                 if (type == r.properties.end() ||
                     !type->children.contains(QStringLiteral("calendar")))
                     continue;
                 const QString path = withSlash(resolved(r.href).path());
                 const QString name =
                     r.properties.value(QStringLiteral("displayname")).text.trimmed();
                 calendars.push_back({path, name.isEmpty() ? path : name});
             }
             done({}, calendars);
         });
}

void CalDavClient::discoverCalendars(Done<QVector<CalendarInfo>> done) {
    findPrincipal([this, done](const CalDavError& error, const QString& principal) {
        if (!error.ok())
            return done(error, {});
        findCalendarHome(principal, [this, done](const CalDavError& error, const QString& home) {
            if (!error.ok())
                return done(error, {});
            listCalendars(home, done);
        });
    });
}

void CalDavClient::syncToken(const QString& collection, Done<QString> done) {
    send("PROPFIND", resolved(collection), kPropfindSyncToken, 0, {},
         [done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             QString token;
             if (answer)
                 for (const DavResponse& r : answer->responses)
                     token = r.properties.value(QStringLiteral("sync-token")).text.trimmed();
             done({}, token);
         });
}

void CalDavClient::listObjects(const QString& collection, Done<QVector<CalDavObject>> done) {
    send("REPORT", resolved(collection), kCalendarQuery, 1, {},
         [this, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             if (!answer)
                 return done(badAnswer(QStringLiteral("not a multistatus")), {});
             QVector<CalDavObject> objects;
             for (const DavResponse& r : answer->responses) {
                 const auto data = r.properties.find(QStringLiteral("calendar-data"));
                 if (data == r.properties.end())
                     continue;
                 objects.push_back({resolved(r.href).path(),
                                    r.properties.value(QStringLiteral("getetag")).text.trimmed(),
                                    data->text});
             }
             done({}, objects);
         });
}

void CalDavClient::changesSince(const QString& collection, const QString& token,
                                Done<CollectionChanges> done) {
    send("REPORT", resolved(collection), syncCollectionBody(token), 0, {},
         [this, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             const auto answer = parseMultistatus(reply->readAll());
             if (!answer)
                 return done(badAnswer(QStringLiteral("not a multistatus")), {});
             CollectionChanges changes;
             changes.token = answer->syncToken;
             for (const DavResponse& r : answer->responses) {
                 const QString href = resolved(r.href).path();
                 if (r.status.contains(QLatin1String(" 404")))
                     changes.removed.push_back(href);
                 else if (r.properties.contains(QStringLiteral("getetag")))
                     changes.changed.push_back(
                         {href, r.properties.value(QStringLiteral("getetag")).text.trimmed(), {}});
             }
             done({}, changes);
         });
}

void CalDavClient::get(const QString& href, Done<CalDavObject> done) {
    send("GET", resolved(href), {}, -1, {},
         [href, done](const CalDavError& error, QNetworkReply* reply) {
             if (!error.ok())
                 return done(error, {});
             done({}, {href, QString::fromUtf8(reply->rawHeader("ETag")),
                       QString::fromUtf8(reply->readAll())});
         });
}

void CalDavClient::put(const QString& href, const QByteArray& body, const QString& ifMatch,
                       Done<QString> done) {
    QList<QPair<QByteArray, QByteArray>> headers;
    if (ifMatch.isEmpty())
        headers.push_back({"If-None-Match", "*"});
    else
        headers.push_back({"If-Match", ifMatch.toUtf8()});
    send("PUT", resolved(href), body, -1, headers,
         [done](const CalDavError& error, QNetworkReply* reply) {
             done(error, error.ok() ? QString::fromUtf8(reply->rawHeader("ETag")) : QString());
         });
}

void CalDavClient::remove(const QString& href, const QString& ifMatch, Done<bool> done) {
    QList<QPair<QByteArray, QByteArray>> headers;
    if (!ifMatch.isEmpty())
        headers.push_back({"If-Match", ifMatch.toUtf8()});
    send("DELETE", resolved(href), {}, -1, headers,
         [done](const CalDavError& error, QNetworkReply*) {
             // Already gone is what was wanted.
             if (error.status == 404)
                 return done({}, true);
             done(error, error.ok());
         });
}

void CalDavClient::makeCalendar(const QString& href, const QString& displayName, Done<bool> done) {
    send("MKCALENDAR", resolved(href), makeCalendarBody(displayName), -1, {},
         [done](const CalDavError& error, QNetworkReply*) { done(error, error.ok()); });
}

} // namespace dw
