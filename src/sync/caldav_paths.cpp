#include "sync/caldav_client.h"

// Where a request may go: the configured origin only, and for an object only a direct
// member of the calendar collection, once ".", ".." and percent-escapes are resolved.

namespace dw {

bool sameOrigin(const QUrl& a, const QUrl& b) {
    const auto port = [](const QUrl& u) {
        return u.port(u.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443
                                                                                           : 80);
    };
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && port(a) == port(b);
}

namespace {

// A path with its escapes decoded and its "." and ".." segments resolved.
QString normalPath(const QString& decoded) {
    QStringList out;
    const QStringList parts = decoded.split(QLatin1Char('/'));
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == QLatin1String("..")) {
            if (!out.isEmpty())
                out.removeLast();
        } else if (part != QLatin1String(".") && !(part.isEmpty() && i + 1 < parts.size())) {
            out.push_back(part);
        }
    }
    return QLatin1Char('/') + out.join(QLatin1Char('/'));
}

} // namespace

std::optional<QString> memberPath(const QUrl& base, const QString& collection,
                                  const QString& href) {
    const QUrl url = base.resolved(QUrl(href.trimmed()));
    if (!url.isValid() || !sameOrigin(url, base) || href.trimmed().isEmpty())
        return std::nullopt;
    const QString path = normalPath(url.path(QUrl::FullyDecoded));
    QUrl collectionUrl;
    collectionUrl.setPath(collection);
    const QString inside = withSlash(normalPath(collectionUrl.path(QUrl::FullyDecoded)));
    if (!path.startsWith(inside) || path.size() == inside.size() ||
        path.indexOf(QLatin1Char('/'), inside.size()) >= 0)
        return std::nullopt;
    QUrl member;
    member.setPath(path, QUrl::DecodedMode);
    return member.path(QUrl::FullyEncoded);
}

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace dw
