#include "sync/caldav_xml.h"

namespace dw {
namespace {

const QString kDav = QStringLiteral("DAV:");

// How much of a text is turned into UTF-8 at once: a text can be as long as the answer,
// and its UTF-8 is made in pieces rather than all at once at three bytes a character.
constexpr qsizetype kEncodedPiece = 16 * 1024;

} // namespace

MultistatusReader::MultistatusReader(Found found) : found_(std::move(found)) {}

bool MultistatusReader::textOnly(Place place) {
    return place == Place::PropertyHref || place == Place::ResponseHref ||
           place == Place::ResponseStatus || place == Place::PropstatStatus ||
           place == Place::SyncToken;
}

bool MultistatusReader::addData(const QByteArray& piece) {
    if (failed_)
        return false;
    xml_.addData(piece);
    readAvailable();
    return !failed_;
}

bool MultistatusReader::finish() {
    // What the reader waits for after the root is only more of the same document.
    if (!failed_ && !rootClosed_)
        failed_ = true;
    // Nothing more is read: what is left of the answer goes before it is acted on.
    xml_.clear();
    text_.clear();
    response_ = {};
    propstat_.clear();
    property_ = {};
    return !failed_;
}

void MultistatusReader::readAvailable() {
    while (!failed_) {
        switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
            failed_ = !startElement();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            characters();
            break;
        case QXmlStreamReader::Invalid:
            // The piece ended: the rest of the body brings the rest of the token.
            if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError)
                return;
            failed_ = true;
            break;
        case QXmlStreamReader::EndDocument:
            return;
        default:
            break;
        }
    }
}

bool MultistatusReader::startElement() {
    if (rootClosed_ || int(open_.size()) >= kMaxDepth)
        return false;
    const QStringView name = xml_.name();
    if (open_.empty()) {
        if (name != QLatin1String("multistatus"))
            return false;
        open_.push_back(Place::Multistatus);
        return true;
    }
    const Place parent = open_.back();
    if (textOnly(parent))
        return false;
    Place place = Place::Skipped;
    switch (parent) {
    case Place::Multistatus:
        if (name == QLatin1String("response")) {
            place = Place::Response;
            response_ = {};
        } else if (name == QLatin1String("sync-token")) {
            place = Place::SyncToken;
        }
        break;
    case Place::Response:
        if (name == QLatin1String("href"))
            place = Place::ResponseHref;
        else if (name == QLatin1String("propstat"))
            place = Place::Propstat;
        else if (name == QLatin1String("status"))
            place = Place::ResponseStatus;
        if (place == Place::Propstat) {
            propstat_.clear();
            propstatStatus_.clear();
        }
        break;
    case Place::Propstat:
        if (name == QLatin1String("prop"))
            place = Place::Prop;
        else if (name == QLatin1String("status"))
            place = Place::PropstatStatus;
        break;
    case Place::Prop:
        place = Place::Property;
        propertyName_ = name.toString();
        property_ = {};
        utf8_.resetState();
        break;
    case Place::Property:
        if (name == QLatin1String("href") && xml_.namespaceUri() == kDav) {
            place = Place::PropertyHref;
        } else {
            place = Place::Property;
            property_.children.push_back(name.toString());
        }
        break;
    default:
        break;
    }
    if (textOnly(place))
        text_.clear();
    open_.push_back(place);
    return true;
}

void MultistatusReader::endElement() {
    const Place place = open_.back();
    open_.pop_back();
    const Place parent = open_.empty() ? Place::Skipped : open_.back();
    switch (place) {
    case Place::Multistatus:
        rootClosed_ = true;
        break;
    case Place::Response:
        found_(response_);
        response_ = {};
        break;
    case Place::Propstat:
        // Moved, not inserted: insert would copy, and a text can be as long as the answer.
        if (propstatStatus_.contains(QLatin1String(" 200")))
            for (auto it = propstat_.begin(); it != propstat_.end(); ++it)
                response_.properties[it.key()] = std::move(it.value());
        propstat_.clear();
        break;
    case Place::Property:
        // The property itself ends, not an element inside it.
        if (parent == Place::Prop) {
            propstat_[propertyName_] = std::move(property_);
            property_ = {};
        }
        break;
    case Place::PropertyHref:
        property_.hrefs.push_back(text_.trimmed());
        break;
    case Place::ResponseHref:
        response_.href = text_.trimmed();
        break;
    case Place::ResponseStatus:
        response_.status = text_;
        break;
    case Place::PropstatStatus:
        propstatStatus_ = text_;
        break;
    case Place::SyncToken:
        syncToken_ = text_.trimmed();
        break;
    default:
        break;
    }
}

void MultistatusReader::characters() {
    if (open_.empty())
        return;
    const Place place = open_.back();
    if (textOnly(place)) {
        text_ += xml_.text();
    } else if (place == Place::Property && xml_.tokenType() == QXmlStreamReader::Characters) {
        // The encoder keeps a pair of surrogates cut between two pieces whole.
        const QStringView text = xml_.text();
        for (qsizetype at = 0; at < text.size(); at += kEncodedPiece) {
            const QByteArray piece = utf8_.encode(text.mid(at, kEncodedPiece));
            property_.text.append(piece.constData(), std::size_t(piece.size()));
        }
    }
}

std::optional<DavMultistatus> parseMultistatus(const QByteArray& body) {
    DavMultistatus out;
    MultistatusReader reader([&out](DavResponse& r) { out.responses.push_back(std::move(r)); });
    reader.addData(body);
    if (!reader.finish())
        return std::nullopt;
    out.syncToken = reader.syncToken();
    return out;
}

} // namespace dw
