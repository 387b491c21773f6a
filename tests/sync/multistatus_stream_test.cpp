// The multistatus reader fed as the network feeds it: in pieces that end anywhere, inside
// a tag, an entity, a CDATA section or a character.

#include "sync/caldav_xml.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

// A calendar-query listing as servers send it: one text in CDATA with markup and a
// two-byte character in it, one with entities and escaped CRs, and a property not found.
const QByteArray kListing = R"(<?xml version="1.0" encoding="utf-8"?>
<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
  <response>
    <href>/alice/tasks/a%20b.ics</href>
    <propstat>
      <prop>
        <getetag>"e1"</getetag>
        <C:calendar-data><![CDATA[BEGIN:VCALENDAR
BEGIN:VEVENT
UID:one
SUMMARY:Café <b>&amp;</b> ]]]]><![CDATA[>
END:VEVENT
END:VCALENDAR
]]></C:calendar-data>
      </prop>
      <status>HTTP/1.1 200 OK</status>
    </propstat>
  </response>
  <response>
    <href>/alice/tasks/two.ics</href>
    <propstat>
      <prop><getetag>"e2"</getetag><C:calendar-data>BEGIN:VCALENDAR&#13;
SUMMARY:Tom &amp; Jerry &lt;3 &#x263A;&#13;
END:VCALENDAR&#13;
</C:calendar-data></prop>
      <status>HTTP/1.1 200 OK</status>
    </propstat>
    <propstat>
      <prop><C:schedule-tag/></prop>
      <status>HTTP/1.1 404 Not Found</status>
    </propstat>
  </response>
</multistatus>
)";

// A sync-collection report: a changed member (its href escaped), a removed one, and the
// new token.
const QByteArray kChanges = R"(<?xml version="1.0" encoding="UTF-8"?>
<d:multistatus xmlns:d="DAV:">
 <d:response>
  <d:href>/alice/tasks/kept&amp;co.ics</d:href>
  <d:propstat><d:prop><d:getetag>"k2"</d:getetag></d:prop>
   <d:status>HTTP/1.1 200 OK</d:status></d:propstat>
 </d:response>
 <d:response>
  <d:href>/alice/tasks/gone.ics</d:href>
  <d:status>HTTP/1.1 404 Not Found</d:status>
 </d:response>
 <d:sync-token>http://radicale.org/ns/sync/8c1e2f</d:sync-token>
</d:multistatus>
)";

// A PROPFIND of a home for its calendars, in another server's prefixes, one href written
// in two pieces.
const QByteArray kCalendars = R"(<?xml version="1.0" encoding="utf-8"?>
<D:multistatus xmlns:D="DAV:" xmlns:cal="urn:ietf:params:xml:ns:caldav">
<D:response><D:href>/alice/</D:href>
<D:propstat><D:prop><D:resourcetype><D:collection/></D:resourcetype>
<cal:calendar-home-set><D:href> /alice/ </D:href></cal:calendar-home-set></D:prop>
<D:status>HTTP/1.1 200 OK</D:status></D:propstat>
<D:propstat><D:prop><D:displayname/><cal:supported-calendar-component-set/></D:prop>
<D:status>HTTP/1.1 404 Not Found</D:status></D:propstat></D:response>
<D:response><D:href>/alice/<![CDATA[tasks/]]></D:href>
<D:propstat><D:prop><D:resourcetype><D:collection/><cal:calendar/></D:resourcetype>
<D:displayname>Tâches</D:displayname>
<cal:supported-calendar-component-set><cal:comp name="VEVENT"/><cal:comp name="VTODO"/>
</cal:supported-calendar-component-set></D:prop>
<D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>
</D:multistatus>
)";

// Everything read, in one text, so that two readings compare whole and a difference shows.
std::string described(const std::optional<DavMultistatus>& answer) {
    if (!answer)
        return "not a multistatus";
    QString out = QStringLiteral("token ") + answer->syncToken + QLatin1Char('\n');
    for (const DavResponse& r : answer->responses) {
        out += QStringLiteral("response ") + r.href + QStringLiteral(" [") + r.status +
               QStringLiteral("]\n");
        QStringList names = r.properties.keys();
        names.sort();
        for (const QString& name : names) {
            const DavProperty& p = r.properties[name];
            out += QStringLiteral("  ") + name + QStringLiteral(" text=[") +
                   QString::fromStdString(p.text) + QStringLiteral("] hrefs=[") +
                   p.hrefs.join(QLatin1Char('|')) + QStringLiteral("] children=[") +
                   p.children.join(QLatin1Char('|')) + QStringLiteral("]\n");
        }
    }
    return out.toStdString();
}

// The body fed in pieces ending at `cuts`, then ended.
std::optional<DavMultistatus> readInPieces(const QByteArray& body, const std::vector<int>& cuts) {
    DavMultistatus out;
    MultistatusReader reader([&out](DavResponse& r) { out.responses.push_back(std::move(r)); });
    int from = 0;
    for (const int cut : cuts) {
        reader.addData(body.mid(from, cut - from));
        from = cut;
    }
    reader.addData(body.mid(from));
    if (!reader.finish())
        return std::nullopt;
    out.syncToken = reader.syncToken();
    return out;
}

TEST(MultistatusStream, AnAnswerCutAnywhereReadsAsTheWholeOne) {
    for (const QByteArray* body : {&kListing, &kChanges, &kCalendars}) {
        const std::string whole = described(parseMultistatus(*body));
        ASSERT_NE(whole, "not a multistatus");
        for (int at = 1; at < body->size(); ++at)
            ASSERT_EQ(described(readInPieces(*body, {at})), whole) << "cut at " << at;
        std::vector<int> everyByte;
        for (int at = 1; at < body->size(); ++at)
            everyByte.push_back(at);
        EXPECT_EQ(described(readInPieces(*body, everyByte)), whole);
    }
}

TEST(MultistatusStream, ReadsWhatEachAnswerSays) {
    const auto listing = parseMultistatus(kListing);
    ASSERT_TRUE(listing);
    ASSERT_EQ(listing->responses.size(), 2);
    const DavResponse& one = listing->responses[0];
    EXPECT_EQ(one.href, QStringLiteral("/alice/tasks/a%20b.ics"));
    EXPECT_EQ(one.properties.value(QStringLiteral("getetag")).text, "\"e1\"");
    EXPECT_EQ(one.properties.value(QStringLiteral("calendar-data")).text,
              "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:one\n"
              "SUMMARY:Caf\u00e9 <b>&amp;</b> ]]>\nEND:VEVENT\nEND:VCALENDAR\n");
    const DavResponse& two = listing->responses[1];
    EXPECT_EQ(two.properties.value(QStringLiteral("calendar-data")).text,
              "BEGIN:VCALENDAR\r\nSUMMARY:Tom & Jerry <3 \u263a\r\nEND:VCALENDAR\r\n");
    // Only what was found is kept.
    EXPECT_FALSE(two.properties.contains(QStringLiteral("schedule-tag")));

    const auto changes = parseMultistatus(kChanges);
    ASSERT_TRUE(changes);
    EXPECT_EQ(changes->syncToken, QStringLiteral("http://radicale.org/ns/sync/8c1e2f"));
    ASSERT_EQ(changes->responses.size(), 2);
    EXPECT_EQ(changes->responses[0].href, QStringLiteral("/alice/tasks/kept&co.ics"));
    EXPECT_TRUE(changes->responses[0].status.isEmpty());
    EXPECT_EQ(changes->responses[1].href, QStringLiteral("/alice/tasks/gone.ics"));
    EXPECT_EQ(changes->responses[1].status, QStringLiteral("HTTP/1.1 404 Not Found"));

    const auto calendars = parseMultistatus(kCalendars);
    ASSERT_TRUE(calendars);
    ASSERT_EQ(calendars->responses.size(), 2);
    const auto& home = calendars->responses[0].properties;
    EXPECT_EQ(home.value(QStringLiteral("calendar-home-set")).hrefs,
              QStringList{QStringLiteral("/alice/")});
    EXPECT_FALSE(home.contains(QStringLiteral("displayname")));
    EXPECT_EQ(calendars->responses[1].href, QStringLiteral("/alice/tasks/"));
    const auto& tasks = calendars->responses[1].properties;
    EXPECT_EQ(tasks.value(QStringLiteral("resourcetype")).children,
              (QStringList{QStringLiteral("collection"), QStringLiteral("calendar")}));
    EXPECT_EQ(tasks.value(QStringLiteral("displayname")).text, "T\u00e2ches");
    EXPECT_EQ(tasks.value(QStringLiteral("supported-calendar-component-set")).children,
              (QStringList{QStringLiteral("comp"), QStringLiteral("comp")}));
}

// A text longer than the pieces it is turned into UTF-8 in, with a character outside the
// first plane (two UTF-16 units) across the cut between two of them.
TEST(MultistatusStream, ALongTextIsKeptWholeInUtf8) {
    const std::string text =
        std::string(16 * 1024 - 1, 'a') + "\U0001F600" + std::string(40 * 1024, 'b') + "\u00e9";
    const QByteArray body =
        R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/a</d:href><d:propstat><d:prop>)"
        "<d:displayname>" +
        QByteArray::fromStdString(text) +
        "</d:displayname></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
        "</d:response></d:multistatus>";
    const auto answer = parseMultistatus(body);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->responses.size(), 1);
    EXPECT_EQ(answer->responses[0].properties.value(QStringLiteral("displayname")).text, text);
}

// Each response is handed over once its end has come, not when the answer ends.
TEST(MultistatusStream, EachResponseIsHandedOverAsSoonAsItIsComplete) {
    QStringList seen;
    MultistatusReader reader([&seen](DavResponse& r) { seen.push_back(r.href); });
    const int firstEnd = kChanges.indexOf("</d:response>") + int(qstrlen("</d:response>"));
    EXPECT_TRUE(reader.addData(kChanges.left(firstEnd - 1)));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(reader.addData(kChanges.mid(firstEnd - 1, 1)));
    EXPECT_EQ(seen, QStringList{QStringLiteral("/alice/tasks/kept&co.ics")});
    EXPECT_TRUE(reader.addData(kChanges.mid(firstEnd)));
    EXPECT_TRUE(reader.finish());
    EXPECT_EQ(seen.size(), 2);
}

TEST(MultistatusStream, WhatIsNotOneWholeMultistatusIsAnError) {
    const QByteArray cases[] = {
        "",
        "<html><body>Calendar</body></html>",
        R"(<d:error xmlns:d="DAV:"><d:valid-sync-token/></d:error>)",
        R"(<d:multistatus xmlns:d="DAV:"><d:response></d:multistatus>)",
        R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/a<b/></d:href>)"
        R"(</d:response></d:multistatus>)",
        R"(<d:multistatus xmlns:d="DAV:"/><d:multistatus xmlns:d="DAV:"/>)",
        R"(<d:multistatus xmlns:d="DAV:"/>trailing)",
        R"(<d:multistatus xmlns:d="DAV:"><d:response>&undeclared;</d:response></d:multistatus>)",
    };
    for (const QByteArray& body : cases)
        EXPECT_EQ(described(parseMultistatus(body)), "not a multistatus") << body.toStdString();

    // Cut short anywhere before its end, an answer is no answer.
    const int end = kListing.lastIndexOf("</multistatus>") + int(qstrlen("</multistatus>"));
    for (int at = 0; at < end; ++at)
        ASSERT_EQ(described(parseMultistatus(kListing.left(at))), "not a multistatus")
            << "cut at " << at;
}

QByteArray nestedIn(int levels) {
    // The multistatus, response, propstat and prop hold the property.
    return R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/a</d:href><d:propstat><d:prop>)" +
           QByteArray("<x>").repeated(levels - 4) + QByteArray("</x>").repeated(levels - 4) +
           "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>"
           "</d:multistatus>";
}

TEST(MultistatusStream, NestingDeeperThanTheBoundIsAnError) {
    const auto deepest = parseMultistatus(nestedIn(MultistatusReader::kMaxDepth));
    ASSERT_TRUE(deepest);
    ASSERT_EQ(deepest->responses.size(), 1);
    EXPECT_EQ(deepest->responses[0].properties.value(QStringLiteral("x")).children.size(),
              MultistatusReader::kMaxDepth - 5);
    EXPECT_FALSE(parseMultistatus(nestedIn(MultistatusReader::kMaxDepth + 1)));

    // A body that only goes deeper is refused at its first piece, the rest left unread.
    MultistatusReader reader([](DavResponse&) {});
    const QByteArray deeper = QByteArray("<a>").repeated(64 * 1024);
    EXPECT_FALSE(reader.addData(R"(<d:multistatus xmlns:d="DAV:">)" + deeper));
    EXPECT_TRUE(reader.failed());
    EXPECT_FALSE(reader.addData(deeper));
    EXPECT_FALSE(reader.finish());
}

} // namespace
} // namespace dw
