#include "sync/caldav_xml.h"

#include <QXmlStreamReader>

namespace dw {
namespace {

const QString kDav = QStringLiteral("DAV:");

// Reads one property element, the reader on its start, up to its end.
DavProperty readProperty(QXmlStreamReader& xml) {
    DavProperty prop;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == QLatin1String("href") && xml.namespaceUri() == kDav) {
                prop.hrefs.push_back(xml.readElementText().trimmed());
                --depth;
            } else {
                prop.children.push_back(xml.name().toString());
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            prop.text += xml.text();
            break;
        default:
            break;
        }
    }
    return prop;
}

void readPropstat(QXmlStreamReader& xml, DavResponse& response) {
    QHash<QString, DavProperty> props;
    QString status;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("prop")) {
            while (xml.readNextStartElement())
                props.insert(xml.name().toString(), readProperty(xml));
        } else if (xml.name() == QLatin1String("status")) {
            status = xml.readElementText();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (status.contains(QLatin1String(" 200")))
        for (auto it = props.cbegin(); it != props.cend(); ++it)
            response.properties.insert(it.key(), it.value());
}

} // namespace

std::optional<DavMultistatus> parseMultistatus(const QByteArray& body) {
    QXmlStreamReader xml(body);
    DavMultistatus out;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("multistatus"))
        return std::nullopt;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("response")) {
            DavResponse response;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("href"))
                    response.href = xml.readElementText().trimmed();
                else if (xml.name() == QLatin1String("propstat"))
                    readPropstat(xml, response);
                else if (xml.name() == QLatin1String("status"))
                    response.status = xml.readElementText();
                else
                    xml.skipCurrentElement();
            }
            out.responses.push_back(std::move(response));
        } else if (xml.name() == QLatin1String("sync-token")) {
            out.syncToken = xml.readElementText().trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return out;
}

} // namespace dw
