#include "sync/caldav_client.h"

#include "sync/caldav_xml.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

namespace dw {
namespace {

// How much of a streamed answer the network may hold before the client has read it.
constexpr qint64 kStreamBufferBytes = 1024 * 1024;

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

CalDavError errorOf(QNetworkReply* reply, int idleMs) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    CalDavError e;
    e.status = status;
    if (status == 401) {
        e.kind = CalDavError::Kind::WrongPassword;
        e.message = QStringLiteral("The server sent the password prompt again: check the user "
                                   "name and password in Options › Sync.");
    } else if (status == 412) {
        e.kind = CalDavError::Kind::PreconditionFailed;
        e.message = QStringLiteral("The task was changed on the server meanwhile.");
    } else if (status >= 300) {
        e.kind = CalDavError::Kind::Refused;
        e.message =
            QStringLiteral("The server refused the request (%1 %2).")
                .arg(status)
                .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    } else if (reply->error() == QNetworkReply::SslHandshakeFailedError) {
        e.kind = CalDavError::Kind::Tls;
        e.message = QStringLiteral("The secure connection to the server failed: %1")
                        .arg(reply->errorString());
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        e.kind = CalDavError::Kind::Unreachable;
        e.message = QStringLiteral("The server sent nothing for %1 seconds: try again later, or "
                                   "check the server.")
                        .arg(idleMs / 1000);
    } else if (reply->error() != QNetworkReply::NoError) {
        e.kind = CalDavError::Kind::Unreachable;
        e.message = QStringLiteral("The server could not be reached (%1): check the server "
                                   "address in Options › Sync and the network.")
                        .arg(reply->errorString());
    }
    return e;
}

CalDavError elsewhere(const QUrl& target) {
    return {CalDavError::Kind::Refused, 0,
            QStringLiteral("The server sent the request on to %1, which is not the address in "
                           "Options › Sync, so nothing was sent there. If the calendar "
                           "has moved, put its new address in Options › Sync.")
                .arg(target.toString(QUrl::RemoveUserInfo))};
}

// Only these mean that a PUT or DELETE was done; a 207 or a 3xx is not.
CalDavError unlessDone(const CalDavError& error, const QString& verb) {
    if (!error.ok() || error.status == 200 || error.status == 201 || error.status == 204)
        return error;
    return {CalDavError::Kind::Refused, error.status,
            QStringLiteral("The server answered %1 to the %2, which does not say it was done; "
                           "it is tried again at the next sync.")
                .arg(error.status)
                .arg(verb)};
}

QString etagOf(const DavResponse& r) {
    return QString::fromStdString(r.properties.value(QStringLiteral("getetag")).text).trimmed();
}

CalDavError badAnswer(const QString& what) {
    return {CalDavError::Kind::BadAnswer, 207,
            QStringLiteral("The server's answer could not be read (%1): check that the server "
                           "address in Options › Sync is a CalDAV server's.")
                .arg(what)};
}

} // namespace

CalDavClient::CalDavClient(QUrl server, QString user, QString password, QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)), server_(std::move(server)) {
    if (!user.isEmpty())
        authorization_ = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
    // The credentials go with every request to the origin; a 401 is an answer, not a
    // question. Redirects are ours to follow (send), never Qt's.
    network_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
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
                        const QList<QPair<QByteArray, QByteArray>>& headers, Finished finished,
                        BodySink sink, int redirects) {
    // Nothing, and above all no password, goes anywhere but the configured origin.
    if (!sameOrigin(url, server_))
        return finished(elsewhere(url), nullptr);
    QNetworkRequest request(url);
    request.setTransferTimeout(limits_.idleMs);
    // Redirects are followed below, within the origin, with the same method and body.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
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
    // A streamed body is taken as it comes, and the network waits while a piece is read
    // rather than piling up what the server sends meanwhile. The reply hands the size to
    // its network thread only once the request has started: it is set again then.
    if (sink) {
        reply->setReadBufferSize(kStreamBufferBytes);
        QMetaObject::invokeMethod(
            reply, [reply] { reply->setReadBufferSize(kStreamBufferBytes); }, Qt::QueuedConnection);
    }
    // Why the request was cut short, when it was.
    auto cut = std::make_shared<CalDavError>();
    // What was read out of the reply; with what it still holds, all that has arrived.
    auto taken = std::make_shared<qint64>(0);
    const qint64 maxBody = limits_.maxBodyBytes;
    auto take = [reply, cut, taken, maxBody, sink] {
        if (!cut->ok())
            return;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool success = status >= 200 && status < 300;
        QByteArray piece;
        // An error's or a redirect's body tells the client nothing: it is dropped.
        if (sink || !success) {
            piece = reply->readAll();
            *taken += piece.size();
        }
        if (*taken + reply->bytesAvailable() > maxBody) {
            *cut = {CalDavError::Kind::Unreachable, 0,
                    QStringLiteral("The server's answer was larger than %1 MiB, so it was not "
                                   "read: check the server address in Options › Sync.")
                        .arg(maxBody / (1024 * 1024))};
            reply->abort();
            return;
        }
        if (sink && success && !piece.isEmpty()) {
            if (const CalDavError stop = sink(piece); !stop.ok()) {
                *cut = stop;
                reply->abort();
            }
        }
    };
    connect(reply, &QNetworkReply::readyRead, reply, take);
    auto* total = new QTimer(reply);
    total->setSingleShot(true);
    connect(total, &QTimer::timeout, reply, [reply, cut, ms = limits_.totalMs] {
        if (cut->ok())
            *cut = {CalDavError::Kind::Unreachable, 0,
                    QStringLiteral("The server did not finish its answer within %1 seconds: "
                                   "try again later, or check the server.")
                        .arg(ms / 1000)};
        reply->abort();
    });
    total->start(limits_.totalMs);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, cut, take, verb, body, depth, headers, redirects, url,
             finished = std::move(finished), sink = std::move(sink)]() mutable {
                reply->deleteLater();
                if (cut->ok() && reply->error() == QNetworkReply::NoError)
                    take();
                if (!cut->ok())
                    return finished(*cut, nullptr);
                const int status =
                    reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                const bool redirect = status == 301 || status == 302 || status == 303 ||
                                      status == 307 || status == 308;
                if (!redirect)
                    return finished(errorOf(reply, limits_.idleMs), reply);
                const QUrl target = url.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
                if (!sameOrigin(target, server_))
                    return finished(elsewhere(target), nullptr);
                if (redirects >= limits_.maxRedirects)
                    return finished({CalDavError::Kind::BadAnswer, status,
                                     QStringLiteral("The server sent the request on more than %1 "
                                                    "times: check the server address in "
                                                    "Options › Sync.")
                                         .arg(limits_.maxRedirects)},
                                    nullptr);
                send(verb, target, body, depth, headers, std::move(finished), std::move(sink),
                     redirects + 1);
            });
}

void CalDavClient::readMultistatus(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                                   int depth, std::function<void(DavResponse&)> each,
                                   MultistatusRead done) {
    // Each member costs a sync far more than its bytes, and members can be small: their
    // number is bounded as well as the body's size.
    auto members = std::make_shared<int>(0);
    const int maxMembers = limits_.maxMembers;
    auto reader = std::make_shared<MultistatusReader>(
        [members, maxMembers, each = std::move(each)](DavResponse& r) {
            if (++*members <= maxMembers)
                each(r);
        });
    send(
        verb, url, body, depth, {},
        [reader, done = std::move(done)](const CalDavError& error, QNetworkReply*) {
            if (error.ok())
                reader->finish();
            done(error, *reader);
        },
        [reader, members, maxMembers](const QByteArray& piece) {
            reader->addData(piece);
            if (*members <= maxMembers)
                return CalDavError{};
            return CalDavError{
                CalDavError::Kind::BadAnswer, 207,
                QStringLiteral("The server's answer named more than %1 objects, more than a "
                               "sync takes, so it was not read: check that the calendar in "
                               "Options › Sync is the one meant, or keep fewer objects in it.")
                    .arg(maxMembers)};
        });
}

void CalDavClient::findFirstHref(const QUrl& url, const QByteArray& body, const QString& property,
                                 Done<QString> done) {
    auto found = std::make_shared<std::optional<QString>>();
    readMultistatus(
        "PROPFIND", url, body, 0,
        [found, property](DavResponse& r) {
            const auto it = r.properties.find(property);
            if (!*found && it != r.properties.end() && !it->hrefs.isEmpty())
                *found = it->hrefs.front();
        },
        [found, property, done](const CalDavError& error, const MultistatusReader& reader) {
            if (!error.ok())
                return done(error, {});
            if (!reader.failed() && *found)
                return done({}, **found);
            done(badAnswer(QStringLiteral("no ") + property), {});
        });
}

void CalDavClient::findPrincipal(Done<QString> done) {
    findFirstHref(server_, kPropfindPrincipal, QStringLiteral("current-user-principal"),
                  [this, done](const CalDavError& error, const QString& href) {
                      done(error, error.ok() ? resolved(href).path() : QString());
                  });
}

void CalDavClient::findCalendarHome(const QString& principal, Done<QString> done) {
    findFirstHref(resolved(principal), kPropfindHome, QStringLiteral("calendar-home-set"),
                  [this, done](const CalDavError& error, const QString& href) {
                      done(error, error.ok() ? withSlash(resolved(href).path()) : QString());
                  });
}

void CalDavClient::listCalendars(const QString& home, Done<QVector<CalendarInfo>> done) {
    auto calendars = std::make_shared<QVector<CalendarInfo>>();
    readMultistatus(
        "PROPFIND", resolved(home), kPropfindCalendars, 1,
        [this, calendars](DavResponse& r) {
            const auto type = r.properties.find(QStringLiteral("resourcetype"));
            if (type == r.properties.end() || !type->children.contains(QStringLiteral("calendar")))
                return;
            const QString path = withSlash(resolved(r.href).path());
            const QString name =
                QString::fromStdString(r.properties.value(QStringLiteral("displayname")).text)
                    .trimmed();
            calendars->push_back({path, name.isEmpty() ? path : name});
        },
        [calendars, done](const CalDavError& error, const MultistatusReader& reader) {
            if (!error.ok())
                return done(error, {});
            if (reader.failed())
                return done(badAnswer(QStringLiteral("not a multistatus")), {});
            done({}, *calendars);
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
    auto token = std::make_shared<QString>();
    readMultistatus(
        "PROPFIND", resolved(collection), kPropfindSyncToken, 0,
        [token](DavResponse& r) {
            *token = QString::fromStdString(r.properties.value(QStringLiteral("sync-token")).text)
                         .trimmed();
        },
        [token, done](const CalDavError& error, const MultistatusReader& reader) {
            if (!error.ok())
                return done(error, {});
            // An answer that cannot be read offers no token.
            done({}, reader.failed() ? QString() : *token);
        });
}

void CalDavClient::listObjects(const QString& collection, Done<QVector<CalDavObject>> done) {
    listCollection(collection, [done](const CalDavError& error, const CollectionListing& listing) {
        done(error, listing.objects);
    });
}

void CalDavClient::listCollection(const QString& collection, Done<CollectionListing> done) {
    auto listing = std::make_shared<CollectionListing>();
    streamCollection(
        collection,
        [listing](ListedObject&& o) {
            listing->objects.push_back({o.href, o.etag, QString::fromStdString(o.data)});
        },
        [listing, done](const CalDavError& error, const QStringList& outside) {
            if (!error.ok())
                return done(error, {});
            listing->outside = outside;
            done({}, *listing);
        });
}

void CalDavClient::streamCollection(const QString& collection,
                                    std::function<void(ListedObject&&)> each,
                                    Done<QStringList> done) {
    const QUrl where = resolved(collection);
    auto outside = std::make_shared<QStringList>();
    readMultistatus(
        "REPORT", where, kCalendarQuery, 1,
        [where, outside, each = std::move(each)](DavResponse& r) {
            const auto data = r.properties.find(QStringLiteral("calendar-data"));
            if (data == r.properties.end())
                return;
            const auto path = memberPath(where, where.path(), r.href);
            if (!path)
                return outside->push_back(r.href);
            each({*path, etagOf(r), std::move(data->text)});
        },
        [outside, done](const CalDavError& error, const MultistatusReader& reader) {
            if (!error.ok())
                return done(error, {});
            if (reader.failed())
                return done(badAnswer(QStringLiteral("not a multistatus")), {});
            done({}, *outside);
        });
}

void CalDavClient::changesSince(const QString& collection, const QString& token,
                                Done<CollectionChanges> done) {
    const QUrl where = resolved(collection);
    auto changes = std::make_shared<CollectionChanges>();
    readMultistatus(
        "REPORT", where, syncCollectionBody(token), 0,
        [where, changes](DavResponse& r) {
            const auto path = memberPath(where, where.path(), r.href);
            if (!path)
                return changes->outside.push_back(r.href);
            if (r.status.contains(QLatin1String(" 404")))
                changes->removed.push_back(*path);
            else if (r.properties.contains(QStringLiteral("getetag")))
                changes->changed.push_back({*path, etagOf(r), {}});
        },
        [changes, done](const CalDavError& error, const MultistatusReader& reader) {
            if (!error.ok())
                return done(error, {});
            if (reader.failed())
                return done(badAnswer(QStringLiteral("not a multistatus")), {});
            changes->token = reader.syncToken();
            done({}, *changes);
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
         [done](const CalDavError& answer, QNetworkReply* reply) {
             const CalDavError error = unlessDone(answer, QStringLiteral("upload"));
             done(error, error.ok() ? QString::fromUtf8(reply->rawHeader("ETag")) : QString());
         });
}

void CalDavClient::remove(const QString& href, const QString& ifMatch, Done<bool> done) {
    QList<QPair<QByteArray, QByteArray>> headers;
    if (!ifMatch.isEmpty())
        headers.push_back({"If-Match", ifMatch.toUtf8()});
    send("DELETE", resolved(href), {}, -1, headers,
         [done](const CalDavError& answer, QNetworkReply*) {
             // Already gone is what was wanted.
             if (answer.status == 404)
                 return done({}, true);
             const CalDavError error = unlessDone(answer, QStringLiteral("deletion"));
             done(error, error.ok());
         });
}

void CalDavClient::makeCalendar(const QString& href, const QString& displayName, Done<bool> done) {
    send("MKCALENDAR", resolved(href), makeCalendarBody(displayName), -1, {},
         [done](const CalDavError& error, QNetworkReply*) { done(error, error.ok()); });
}

} // namespace dw
