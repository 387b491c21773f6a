#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace dw {

// One property of a WebDAV answer: its text, the hrefs inside it and the names of the
// elements inside it (a resourcetype's "calendar").
struct DavProperty {
    QString text;
    QStringList hrefs;
    QStringList children;
};

// One <response> of a multistatus answer. Only properties found (status 200) are kept.
struct DavResponse {
    QString href;
    QString status; // the response's own status line, when it has one (a removed member)
    QHash<QString, DavProperty> properties; // by local name
};

struct DavMultistatus {
    QVector<DavResponse> responses;
    QString syncToken;
};

// Reads a 207 multistatus body; nothing when it is not well-formed XML of that shape.
std::optional<DavMultistatus> parseMultistatus(const QByteArray& body);

} // namespace dw
