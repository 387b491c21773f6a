#include "support/calendar_owner.h"
#include "support/radicale_server.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using dw::test::quoted;
using dw::test::RadicaleServer;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

const char* const kHead = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\n";
const char* const kTail = "END:VCALENDAR\r\n";

// Tasks travel from one data folder through radicale to a second one and back: each
// arrives exact, and a sync with nothing to do changes nothing on the server (its ETags
// stay). The command line runs in Berlin's zone on 15 May 2024, so that a zoned event and
// a spring-forward day mean something.
class MappingRoundTrip : public ::testing::Test {
protected:
    MappingRoundTrip() {
        for (TempDir* d : {&first, &second})
            d->write("pw", std::string(RadicaleServer::kPassword) + "\n");
        calendar.makeCalendar();
    }

    Result run(const TempDir& data, const std::vector<std::string>& args) {
        std::string cmd =
            "TZ=Europe/Berlin LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 HOME=" + quoted(data.path()) +
            " XDG_CONFIG_HOME=" + quoted(data.file("config")) +
            " DAYWEAVER_DATA=" + quoted(data.path()) + " faketime '2024-05-15 12:00:00' " +
            quoted(DAYWEAVER_CLI);
        for (const auto& a : args)
            cmd += " " + quoted(a);
        return runShell(cmd);
    }
    Result sync(const TempDir& data) {
        return run(data, {"sync", "--url", server.url().toString().toStdString(), "--user",
                          RadicaleServer::kUser, "--password-file", data.file("pw")});
    }
    std::string agenda(const TempDir& data, const std::string& date) {
        const Result r = run(data, {"agenda", date});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
    std::map<QString, QString> etags() {
        std::map<QString, QString> out;
        for (const dw::CalDavObject& o : calendar.objects())
            out[o.href] = o.etag;
        return out;
    }
    QString onlyObject() {
        const auto objects = calendar.objects();
        EXPECT_EQ(objects.size(), 1);
        return objects.isEmpty() ? QString() : objects.front().data;
    }
    // Both folders synced twice: the second time nothing moves either way.
    void expectNoOpSyncs() {
        const auto before = etags();
        for (TempDir* d : {&first, &second}) {
            const Result r = sync(*d);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.out, "");
        }
        EXPECT_EQ(etags(), before);
    }
    void expectSameAgendas(const std::vector<std::string>& dates) {
        for (const std::string& date : dates)
            EXPECT_EQ(agenda(first, date), agenda(second, date)) << date;
    }

    RadicaleServer server;
    dw::test::CalendarOwner calendar{server};
    TempDir first;
    TempDir second;
};

// Imported from a file into the first folder, sent, received in the second: texts and a
// category with commas, semicolons, backslashes and line breaks, an all-day task, and a
// text whose fold splits a character.
TEST_F(MappingRoundTrip, ImportedTasksArriveExactInTheSecondFolder) {
    first.write(
        "in.ics",
        std::string(kHead) +
            "BEGIN:VEVENT\r\nUID:a-1\r\nDTSTART:20240516T090000\r\n"
            "SUMMARY:Call a\\, b\\; c\\\\d\r\nDESCRIPTION:Call a\\, b\\; c\\\\d\\nthen e\\, "
            "f\r\nCATEGORIES:Work\\, urgent\\; x\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:a-2\r\nDTSTART;VALUE=DATE:20240517\r\n"
            "DTEND;VALUE=DATE:20240518\r\nSUMMARY:Holiday trip\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:a-3\r\nDTSTART:20240518T080000\r\nSUMMARY:Caf\xC3\r\n"
            " \xA9 cr\xE2\x82\r\n \xAC\r\nEND:VEVENT\r\n" +
            kTail);
    Result r = run(first, {"ics", "import", first.file("in.ics")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(agenda(first, "2024-05-17").find("All day"), std::string::npos);
    EXPECT_NE(agenda(first, "2024-05-18").find("Caf\xC3\xA9 cr\xE2\x82\xAC"), std::string::npos);

    r = sync(first);
    ASSERT_EQ(r.status, 0) << r.err;
    r = sync(second);
    ASSERT_EQ(r.status, 0) << r.err;
    expectSameAgendas({"2024-05-16", "2024-05-17", "2024-05-18"});
    EXPECT_NE(agenda(second, "2024-05-16").find("Work, urgent; x"), std::string::npos);
    EXPECT_EQ(second.read("grid.grd"), first.read("grid.grd"));
    for (const dw::CalDavObject& o : calendar.objects()) {
        if (o.data.contains(QStringLiteral("Holiday trip"))) {
            EXPECT_TRUE(o.data.contains(QStringLiteral("DTSTART;VALUE=DATE:20240517")))
                << o.data.toStdString();
        }
    }
    expectNoOpSyncs();
}

// Another program's objects: each read the same in both folders, at the right day and
// time, and left as they are by syncs with nothing to do.
TEST_F(MappingRoundTrip, ServerObjectsArriveExactAndStayUnchanged) {
    struct Case {
        const char* name;
        std::string body;
        const char* date;
        const char* expectedInAgenda;
    };
    const std::vector<Case> cases = {
        {"all-day.ics",
         "BEGIN:VEVENT\r\nUID:s-1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART;VALUE=DATE:20240520\r\n"
         "DTEND;VALUE=DATE:20240521\r\nSUMMARY:Conference\r\nEND:VEVENT\r\n",
         "2024-05-20", "All day"},
        {"rdate.ics",
         "BEGIN:VEVENT\r\nUID:s-2\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240521T070000\r\n"
         "RDATE:20240523T070000,20240525T070000\r\nSUMMARY:Run\r\nEND:VEVENT\r\n",
         "2024-05-25", "7:00 AM"},
        {"due.ics",
         "BEGIN:VTODO\r\nUID:s-3\r\nDTSTAMP:20240101T000000Z\r\nDUE;VALUE=DATE:20240522\r\n"
         "SUMMARY:Tax return\r\nEND:VTODO\r\n",
         "2024-05-22", "Tax return"},
        {"gap.ics",
         "BEGIN:VEVENT\r\nUID:s-4\r\nDTSTAMP:20240101T000000Z\r\n"
         "DTSTART;TZID=Europe/Berlin:20250330T023000\r\n"
         "DTEND;TZID=Europe/Berlin:20250330T040000\r\nSUMMARY:Early train\r\nEND:VEVENT\r\n",
         "2025-03-30", "3:30 AM"},
    };
    for (const Case& c : cases)
        calendar.put(QString::fromLatin1(c.name), QString::fromStdString(kHead + c.body + kTail));
    const auto put = etags();

    for (TempDir* d : {&first, &second}) {
        const Result r = sync(*d);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string shown = agenda(first, c.date);
        EXPECT_NE(shown.find(c.expectedInAgenda), std::string::npos) << shown;
        EXPECT_EQ(shown, agenda(second, c.date));
    }
    EXPECT_NE(agenda(first, "2024-05-23").find("Run"), std::string::npos);
    EXPECT_EQ(run(first, {"todo"}).out.find("Tax return"), std::string::npos);
    EXPECT_EQ(etags(), put);
    expectNoOpSyncs();
}

// An event in a named zone keeps it: a text edit leaves its times, a time edit (given in
// local time) is the same moment in its zone; the other folder follows each.
TEST_F(MappingRoundTrip, AZonedEventKeepsItsZoneThroughTextAndTimeEdits) {
    calendar.put(
        QStringLiteral("zoned.ics"),
        QString::fromStdString(std::string(kHead) +
                               "BEGIN:VEVENT\r\nUID:z-1\r\nDTSTAMP:20240101T000000Z\r\n"
                               "DTSTART;TZID=America/New_York:20240516T090000\r\n"
                               "DTEND;TZID=America/New_York:20240516T100000\r\nSUMMARY:Call NY\r\n"
                               "END:VEVENT\r\n" +
                               kTail));
    for (TempDir* d : {&first, &second})
        ASSERT_EQ(sync(*d).status, 0);
    EXPECT_NE(agenda(first, "2024-05-16").find("3:00 PM"), std::string::npos);

    ASSERT_EQ(run(first, {"edit", "2024-05-16", "1", "--text", "Call NY office"}).status, 0);
    Result r = sync(first);
    ASSERT_EQ(r.status, 0) << r.err;
    QString text = onlyObject();
    EXPECT_TRUE(text.contains(QStringLiteral("DTSTART;TZID=America/New_York:20240516T090000")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Call NY office")));

    ASSERT_EQ(run(first, {"edit", "2024-05-16", "1", "--time", "16:30"}).status, 0);
    r = sync(first);
    ASSERT_EQ(r.status, 0) << r.err;
    text = onlyObject();
    EXPECT_TRUE(text.contains(QStringLiteral("DTSTART;TZID=America/New_York:20240516T103000")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DTEND;TZID=America/New_York:20240516T113000")))
        << text.toStdString();

    r = sync(second);
    ASSERT_EQ(r.status, 0) << r.err;
    expectSameAgendas({"2024-05-16"});
    EXPECT_NE(agenda(second, "2024-05-16").find("4:30 PM"), std::string::npos);
    expectNoOpSyncs();
}

// An event over several days shows on each day in both folders and stays one object: a
// later day's text edit renames the whole event, deleting its last day shortens it, and
// neither moves its start.
TEST_F(MappingRoundTrip, AnEventOverSeveralDaysStaysOneEvent) {
    calendar.put(QStringLiteral("trip.ics"),
                 QString::fromStdString(std::string(kHead) +
                                        "BEGIN:VEVENT\r\nUID:t-1\r\nDTSTAMP:20240101T000000Z\r\n"
                                        "DTSTART:20240520T180000\r\nDTEND:20240522T120000\r\n"
                                        "SUMMARY:Trip\r\nEND:VEVENT\r\n" +
                                        kTail));
    const auto put = etags();
    for (TempDir* d : {&first, &second})
        ASSERT_EQ(sync(*d).status, 0);
    EXPECT_NE(agenda(first, "2024-05-20").find("6:00 PM"), std::string::npos);
    for (const char* day : {"2024-05-21", "2024-05-22"}) {
        const std::string shown = agenda(first, day);
        EXPECT_NE(shown.find("All day"), std::string::npos) << day << shown;
        EXPECT_NE(shown.find("Trip"), std::string::npos) << day << shown;
    }
    expectSameAgendas({"2024-05-20", "2024-05-21", "2024-05-22"});
    EXPECT_EQ(etags(), put);
    expectNoOpSyncs();

    ASSERT_EQ(run(first, {"edit", "2024-05-21", "1", "--text", "Trip to Lyon"}).status, 0);
    Result r = sync(first);
    ASSERT_EQ(r.status, 0) << r.err;
    QString text = onlyObject();
    EXPECT_TRUE(text.contains(QStringLiteral("SUMMARY:Trip to Lyon"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DTSTART:20240520T180000"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DTEND:20240522T120000"))) << text.toStdString();
    for (TempDir* d : {&first, &second})
        ASSERT_EQ(sync(*d).status, 0);
    for (const char* day : {"2024-05-20", "2024-05-21", "2024-05-22"})
        EXPECT_NE(agenda(second, day).find("Trip to Lyon"), std::string::npos) << day;
    expectSameAgendas({"2024-05-20", "2024-05-21", "2024-05-22"});

    ASSERT_EQ(run(second, {"delete", "2024-05-22", "1"}).status, 0);
    r = sync(second);
    ASSERT_EQ(r.status, 0) << r.err;
    text = onlyObject();
    EXPECT_TRUE(text.contains(QStringLiteral("DTEND:20240522T000000"))) << text.toStdString();
    for (TempDir* d : {&first, &second})
        ASSERT_EQ(sync(*d).status, 0);
    EXPECT_EQ(agenda(first, "2024-05-22").find("Trip"), std::string::npos);
    expectSameAgendas({"2024-05-20", "2024-05-21", "2024-05-22"});
    expectNoOpSyncs();
}

} // namespace
