#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QVector>
#include <QXmlStreamReader>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dw {

// One property of a WebDAV answer: its text, the hrefs inside it and the names of the
// elements inside it (a resourcetype's "calendar"). The text is kept in UTF-8, the form the
// sync reads: a calendar's texts are most of an answer, and are held once.
struct DavProperty {
    std::string text;
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

// Reads a 207 multistatus body as it arrives, in pieces cut anywhere (inside a tag, an
// entity or a character), and hands over each <response> once it is complete, so that
// neither the body nor its list of responses is ever held. Elements nest at most
// kMaxDepth deep: a body nested deeper is not an answer but an attack on the memory.
class MultistatusReader {
public:
    static constexpr int kMaxDepth = 64;
    // Takes each response; it may move from it.
    using Found = std::function<void(DavResponse&)>;

    explicit MultistatusReader(Found found);

    // The next piece of the body. False once the body cannot be a multistatus; later
    // pieces are then left unread.
    bool addData(const QByteArray& piece);
    // The body has ended: true when it was one whole, well-formed multistatus.
    bool finish();
    bool failed() const { return failed_; }
    // The sync-token the answer named (a sync-collection report's), once read.
    const QString& syncToken() const { return syncToken_; }

private:
    // What the element being read is, from the multistatus down.
    enum class Place {
        Multistatus,
        Response,
        Propstat,
        Prop,
        Property,     // a property of a prop, or an element inside one
        PropertyHref, // a DAV:href inside a property
        ResponseHref, // these four and PropertyHref: texts that may hold no element
        ResponseStatus,
        PropstatStatus,
        SyncToken,
        Skipped, // an element of no interest, with all it holds
    };
    static bool textOnly(Place place);

    void readAvailable();
    bool startElement();
    void endElement();
    void characters();

    QXmlStreamReader xml_;
    Found found_;
    std::vector<Place> open_; // the open elements, outermost first
    bool rootClosed_ = false;
    bool failed_ = false;
    QString text_; // of the text-only element being read
    DavResponse response_;
    QHash<QString, DavProperty> propstat_; // the properties of the propstat being read
    QString propstatStatus_;
    QString propertyName_;
    DavProperty property_;
    QStringEncoder utf8_{QStringEncoder::Utf8};
    QString syncToken_;
};

// Reads a whole 207 multistatus body; nothing when it is not well-formed XML of that shape.
std::optional<DavMultistatus> parseMultistatus(const QByteArray& body);

} // namespace dw
