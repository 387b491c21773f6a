#pragma once

#include "interchange/ical_import.h"

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>
#include <functional>
#include <optional>
#include <string>

class QNetworkAccessManager;
class QNetworkReply;

namespace dw {

class MultistatusReader;
struct DavResponse;

// Why a request to the calendar server failed, in the words the user sees.
struct CalDavError {
    enum class Kind {
        None,
        Unreachable,        // no answer: refused, unknown host, timed out, dropped
        WrongPassword,      // 401
        Tls,                // the secure connection could not be made or trusted
        PreconditionFailed, // 412: the object changed meanwhile
        Refused,            // any other error status
        BadAnswer,          // an answer that could not be read
    };
    Kind kind = Kind::None;
    int status = 0; // the HTTP status, when there was one
    QString message;

    bool ok() const { return kind == Kind::None; }
};

struct CalendarInfo {
    QString href; // path of the collection, ending with "/"
    QString displayName;
};

struct CalDavObject {
    QString href;
    QString etag;
    QString data;
};

// An object as a listing hands it over, its text in UTF-8 as it came: the form the sync
// reads, so that a listing's texts, most of it, are held once.
struct ListedObject {
    QString href;
    QString etag;
    std::string data;
};

// What changed in a collection since a sync token (RFC 6578).
struct CollectionChanges {
    QString token;
    QVector<CalDavObject> changed; // href and ETag; data empty
    QVector<QString> removed;
    QStringList outside; // hrefs outside the collection, left out
};

// What a collection lists: its objects, and the hrefs it named outside itself, which are
// never requested.
struct CollectionListing {
    QVector<CalDavObject> objects;
    QStringList outside;
};

// How much a server may send and how long it may take. A request fails when it receives
// nothing for `idleMs`, or has not finished after `totalMs`; an answer longer than
// `maxBodyBytes` fails, and so does one naming more than `maxMembers` objects or
// collections: no more than a calendar file may hold.
struct CalDavLimits {
    int idleMs = 30 * 1000;
    int totalMs = 120 * 1000;
    qint64 maxBodyBytes = qint64(64) * 1024 * 1024;
    int maxRedirects = 5;
    int maxMembers = int(kMaxCalendarObjects);
};

// A collection's path as the servers name collections: ending in a slash.
QString withSlash(QString path);

// The path of an href the server named, resolved against `base`, once ".", ".." and
// percent-escapes are resolved, when it is a direct member of `collection` on the same
// origin (scheme, host, port); nothing otherwise.
std::optional<QString> memberPath(const QUrl& base, const QString& collection, const QString& href);
// Whether two addresses share scheme, host and port: the only place credentials go.
bool sameOrigin(const QUrl& a, const QUrl& b);

// A CalDAV client on Qt Network. Every call returns at once and answers through its
// callback from the event loop, so the window never waits on the network.
class CalDavClient : public QObject {
    Q_OBJECT
public:
    template <typename T> using Done = std::function<void(const CalDavError&, const T&)>;

    // `server` is the address the user gave: the server's root, a principal or a calendar.
    CalDavClient(QUrl server, QString user, QString password, QObject* parent = nullptr);
    ~CalDavClient() override;

    QUrl server() const { return server_; }
    // Requests give up after this long without progress.
    void setTimeoutMs(int ms) { limits_.idleMs = ms; }
    void setLimits(const CalDavLimits& limits) { limits_ = limits; }
    // Trusts these certificates besides the system's, for a server whose certificate comes
    // from the user's own authority (or is its own).
    void addCaCertificates(const QList<QSslCertificate>& certificates);

    // current-user-principal, then calendar-home-set, then the home's calendars.
    void discoverCalendars(Done<QVector<CalendarInfo>> done);
    void findPrincipal(Done<QString> done);
    void findCalendarHome(const QString& principal, Done<QString> done);
    void listCalendars(const QString& home, Done<QVector<CalendarInfo>> done);
    // Whether the collection offers sync-collection reports, and its current token.
    void syncToken(const QString& collection, Done<QString> done);

    // Every event and to-do of a collection with its ETag and text (calendar-query).
    void listObjects(const QString& collection, Done<QVector<CalDavObject>> done);
    // The same, with the hrefs named outside the collection, which are left out.
    void listCollection(const QString& collection, Done<CollectionListing> done);
    // The same, each object handed to `each` as soon as the answer holds it whole, so that
    // a listing is never held twice; `done` answers the hrefs named outside. When `done`
    // answers an error, the objects handed over are no listing: they are to be dropped.
    void streamCollection(const QString& collection, std::function<void(ListedObject&&)> each,
                          Done<QStringList> done);
    // The changes since `token` (empty: everything), through a sync-collection report.
    void changesSince(const QString& collection, const QString& token,
                      Done<CollectionChanges> done);

    void get(const QString& href, Done<CalDavObject> done);
    // Writes an object. With an ETag the server must still hold that version (If-Match),
    // without one it must hold none (If-None-Match: *). Answers the new ETag, when given.
    void put(const QString& href, const QByteArray& body, const QString& ifMatch,
             Done<QString> done);
    void remove(const QString& href, const QString& ifMatch, Done<bool> done);
    // Makes a calendar collection (MKCALENDAR).
    void makeCalendar(const QString& href, const QString& displayName, Done<bool> done);

    // A path or address made absolute against the server.
    QUrl resolved(const QString& href) const;

private:
    using Finished = std::function<void(const CalDavError&, QNetworkReply*)>;
    // Takes a successful answer's body piece by piece as it arrives; the reply handed to
    // Finished then holds none of it. An error answered stops the request with it.
    using BodySink = std::function<CalDavError(const QByteArray&)>;
    void send(const QByteArray& verb, const QUrl& url, const QByteArray& body, int depth,
              const QList<QPair<QByteArray, QByteArray>>& headers, Finished finished,
              BodySink sink = {}, int redirects = 0);
    // A PROPFIND or REPORT whose multistatus answer is read as it arrives: `each` takes
    // every response once it is complete, `done` the error or the reader at the end.
    using MultistatusRead = std::function<void(const CalDavError&, const MultistatusReader&)>;
    void readMultistatus(const QByteArray& verb, const QUrl& url, const QByteArray& body, int depth,
                         std::function<void(DavResponse&)> each, MultistatusRead done);
    // The first href a PROPFIND (depth 0) names in `property`; a bad answer naming `property`
    // when there is none.
    void findFirstHref(const QUrl& url, const QByteArray& body, const QString& property,
                       Done<QString> done);

    QNetworkAccessManager* network_;
    QUrl server_;
    QByteArray authorization_;
    CalDavLimits limits_;
    QList<QSslCertificate> extraCaCertificates_;
    std::optional<QSslConfiguration> tls_; // set only when there are extra authorities
};

} // namespace dw
