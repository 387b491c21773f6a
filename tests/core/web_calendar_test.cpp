#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/output/web_calendar.h"
#include "core/store/task_store.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace dw {
namespace {

using Lines = std::vector<std::string>;

constexpr int kHeadLines = 95;
constexpr int kTitleLines = 4;
constexpr int kTableHeadLines = 12;
constexpr int kFirstWeekLine = kHeadLines + kTitleLines + kTableHeadLines;

Lines slice(const Lines& lines, std::size_t from, std::size_t count) {
    return Lines(lines.begin() + static_cast<long>(from),
                 lines.begin() + static_cast<long>(from + count));
}

std::size_t indexOf(const Lines& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(MonthLayout, DaysFromTheFirstWeekdayOn) {
    const MonthLayout feb = monthLayout(2015, 2); // a Sunday the 1st, 28 days
    EXPECT_EQ(feb.at(1, 1), 1);
    EXPECT_EQ(feb.at(4, 7), 28);
    EXPECT_EQ(feb.at(5, 1), 0);
    const MonthLayout mar = monthLayout(2024, 3); // a Friday the 1st, 31 days
    EXPECT_EQ(mar.at(1, 5), 0);
    EXPECT_EQ(mar.at(1, 6), 1);
    EXPECT_EQ(mar.at(6, 1), 31);
    EXPECT_EQ(monthLayout(2024, 2).at(5, 5), 29); // leap year: Thursday the 1st
    EXPECT_EQ(monthLayout(2100, 2).at(5, 1), 28); // not a leap year: Monday the 1st
}

TEST(MonthLayout, Checkerboard) {
    EXPECT_EQ(shadingText(1, 1), "bgcolor=#CCFFFF");
    EXPECT_EQ(shadingText(1, 2), "");
    EXPECT_EQ(shadingText(2, 2), "bgcolor=#CCFFFF");
    EXPECT_EQ(shadingText(6, 7), "");
}

TEST(WebPage, HeadTitleAndTableHead) {
    const FormatSettings fs = FormatSettings::enUS();
    const Lines lines = webPageLines(dateSerialOf(2015, 2, 14), {}, false, fs);
    EXPECT_EQ(slice(lines, 0, 4),
              (Lines{"<html><head>",
                     "<META HTTP-EQUIV='Content-Type' content='text/html; charset=utf-8'>",
                     "<title>Calendar</title>", ""}));
    EXPECT_EQ(slice(lines, 4, 6),
              (Lines{"<style type=\"text/css\"> body  {", " \tfont-family : Arial;",
                     " \tfont-size : 9pt;", " \tmargin : 0px;", " }", " "}));
    EXPECT_EQ(slice(lines, 10, 4), (Lines{" td.CalMonth  {", " \tfont-family : Verdana, Arial;",
                                          "\tfont-size : x-large;", " \tfont-weight : bold;"}));
    // td.rightcell is the one rule without a space line after it.
    const std::size_t right = indexOf(lines, " td.rightcell  {");
    EXPECT_EQ(slice(lines, right + 6, 3),
              (Lines{" \tborder-left-style : none;", " }", " td.numbercell  {"}));
    EXPECT_EQ(lines[right + 10], "\tcolor : #669999;");
    EXPECT_EQ(slice(lines, kHeadLines - 6, 6),
              (Lines{" ", " </style> ", "", "</head>", "<body bgcolor=white>",
                     "<font face=\"Arial\" size=\"-1\">"}));
    EXPECT_EQ(slice(lines, kHeadLines, kTitleLines),
              (Lines{"<table width=\"100%\">", "<td width=\"1%\">&nbsp;</td>",
                     "<td align=\"center\" class=\"calmonth\">Dayweaver - February 2015</td>",
                     "</table>"}));
    const std::string head = "<td valign=top width=14% nowrap align=center class=dayheader";
    EXPECT_EQ(slice(lines, kHeadLines + kTitleLines, kTableHeadLines),
              (Lines{"<table border=0 cellspacing=0 cellpadding=1>", "", "<tr>",
                     "<td width=1>&nbsp;</td> ", head + " >Sunday</td> ",
                     head + " bgcolor=#CCFFFF>Monday</td> ", head + ">Tuesday</td> ",
                     head + " bgcolor=#CCFFFF>Wednesday</td>", head + ">Thursday</td> ",
                     head + " bgcolor=#CCFFFF>Friday</td> ",
                     head + ">Saturday</td> <!-- Saturday label -->", "</tr>"}));
}

TEST(WebPage, FourWeekFebruaryWritesAnEmptyFifthRowAndNoSixth) {
    const FormatSettings fs = FormatSettings::enUS();
    const Lines lines = webPageLines(dateSerialOf(2015, 2, 1), {}, false, fs);
    // Row 1 holds the spacer cell: 1 + 1 + 7 + 1 lines on top, 9 below; the others 18 each.
    EXPECT_EQ(lines[kFirstWeekLine + 1], "<td width=1 class=rightcell rowspan=12>&nbsp;</td>");
    EXPECT_EQ(
        lines[kFirstWeekLine + 2],
        "<td valign=top width=14% nowrap align=right class=numbercell bgcolor=#CCFFFF>1</td>");
    EXPECT_EQ(lines[kFirstWeekLine + 3],
              "<td valign=top width=14% nowrap align=right class=numbercell >2</td>");
    EXPECT_EQ(lines[kFirstWeekLine + 11],
              "<td width=14% class=cell bgcolor=#CCFFFF valign=\"top\" height=\"90\">&nbsp;</td>");
    EXPECT_EQ(lines[kFirstWeekLine + 12], "<td width=14% class=cell  valign=\"top\" >&nbsp;</td>");
    const std::size_t row5 = kFirstWeekLine + 19 + 3 * 18;
    EXPECT_EQ(slice(lines, row5, 3),
              (Lines{"<tr>", "<td width=14% class=FillDay bgcolor=#CCFFFF>&nbsp;</td>",
                     "<td width=14% class=FillDay >&nbsp;</td>"}));
    EXPECT_EQ(lines[row5 + 10],
              "<td width=14% class=BottomFillDay height=\"90\" bgcolor=#CCFFFF>&nbsp;</td>");
    EXPECT_EQ(slice(lines, row5 + 17, 3), (Lines{"</tr>", "</table>", "</font>"}));
    EXPECT_EQ(slice(lines, row5 + 20, 5),
              (Lines{"<br>&nbsp;", "<CENTER><HR width=\"90%\">",
                     "<FONT SIZE=\"-1\" FACE=\"Arial\">Dayweaver courtesy of <A "
                     "HREF=\"https://www.velmora.example/\" TARGET=\"_top\">Velmora "
                     "Corporation</A><BR>",
                     "&nbsp;</FONT></CENTER>", "</body></html>"}));
    EXPECT_EQ(lines.size(), row5 + 25);
}

TEST(WebPage, MonthNeedingSixRowsWritesRowSix) {
    const FormatSettings fs = FormatSettings::enUS();
    const Lines lines = webPageLines(dateSerialOf(2024, 3, 1), {}, false, fs);
    const std::size_t row6 = kFirstWeekLine + 19 + 4 * 18;
    EXPECT_EQ(lines[row6 + 1],
              "<td valign=top width=14% nowrap align=right class=numbercell >31</td>");
    EXPECT_EQ(lines[row6 + 2], "<td width=14% class=FillDay bgcolor=#CCFFFF>&nbsp;</td>");
    EXPECT_EQ(slice(lines, row6 + 17, 2), (Lines{"</tr>", "</table>"}));
    // A 30-day month starting on a Friday fits in five rows.
    EXPECT_EQ(webPageLines(dateSerialOf(2024, 11, 1), {}, false, fs).size(), lines.size() - 18);
}

class WebDayTest : public ::testing::Test {
protected:
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{encodeDateTime(2024, 3, 1, 9, 0)};
    TaskStore store{fs, clock};
    CellTable holidays{4, 1};
    const int mar5 = dateSerialOf(2024, 3, 5);
    const int mar20 = dateSerialOf(2024, 3, 20);
    void SetUp() override {
        test::setDataRows(
            store.gridStore(),
            {{storeKey(mar5, 100), "10:30 AM", "Work", "Budget <draft> & notes", "No", "Yes"},
             {storeKey(mar5, 101), "8:00 AM", "Home", "Dentist\r\nbring card\r\n", "Yes", "No"},
             {storeKey(mar5, 102), "9:00 AM", "Secret", "Hidden", "No", "No"},
             {storeKey(mar20, 100), "2:00 PM", "Home", "Tab\there", "No", "No"}});
        store.setFilter(
            [](const std::string&, const std::string& category) { return category != "Secret"; });
    }
};

TEST_F(WebDayTest, DayCellsShowTimesAndCategoriesOfFilteredTasks) {
    EXPECT_EQ(webDayContent(store, holidays, mar5, fs), "10:30 am Work<br>8:00 am Home<br>");
    EXPECT_EQ(webDayContent(store, holidays, mar5 + 1, fs), "");
    const Lines lines = webPageLines(mar5, webPageSources(store, holidays, fs), false, fs);
    // 5 March 2024 is a Tuesday in week row 2.
    const std::size_t row2Bottom = kFirstWeekLine + 19 + 10; // Sunday's cell
    EXPECT_EQ(lines[row2Bottom + 2], "<td width=14% class=cell  valign=\"top\" >10:30 am "
                                     "Work<br>8:00 am Home<br></td>");
    EXPECT_EQ(lines[row2Bottom + 3],
              "<td width=14% class=cell bgcolor=#CCFFFF valign=\"top\" >&nbsp;</td>");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("Secret"), std::string::npos);
}

TEST_F(WebDayTest, HolidayNamesAndCategoriesAreEscaped) {
    store.gridStore().setCell(StoreCol::Category, 1, "R&D <b>");
    holidays.setRowCount(2);
    // A fixed-day holiday on 5 March: name, month number, month name, rule.
    holidays.setCell(kHolidayName, 1, "Tom & Jerry's <day>");
    holidays.setCell(kHolidayMonthNumber, 1, "03");
    holidays.setCell(kHolidayMonth, 1, "March");
    holidays.setCell(kHolidayRule, 1, "5");
    const std::string content = webDayContent(store, holidays, mar5, fs);
    EXPECT_EQ(content.substr(0, 30), "<font color=\"Blue\">Tom &amp; J");
    EXPECT_NE(content.find("Jerry's &lt;day&gt;</font><br>10:30 am R&amp;D &lt;b&gt;<br>"),
              std::string::npos)
        << content;
}

TEST_F(WebDayTest, DetailsInDateThenTableOrderEscaped) {
    const Lines lines = webPageLines(mar5, webPageSources(store, holidays, fs), true, fs);
    const std::size_t start = indexOf(lines, "<p>");
    ASSERT_LT(start, lines.size());
    EXPECT_EQ(
        slice(lines, start, 6),
        (Lines{"<p>", "<table width=\"100%\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">",
               "<tr>", "<td colspan=\"6\" align=\"center\" class=\"calmonth\">Details</td>",
               "</tr>", "<tr>"}));
    EXPECT_EQ(lines[start + 6], "<td class=dayheader align=\"center\" bgcolor=#CCFFFF>Day</td>");
    EXPECT_EQ(lines[start + 11], "<td width=55% class=dayheader bgcolor=#CCFFFF>Notes</td>");
    const std::string mid = "<td class=detail valign=\"top\" align=\"center\">";
    const std::string left = "<td class=detail valign=\"top\" align=\"left\">";
    const std::size_t rows = start + 13;
    EXPECT_EQ(
        slice(lines, rows, 8),
        (Lines{"<tr>", mid + "5</td>", mid + "10:30 am</td>", mid + "Work</td>", mid + "Yes</td>",
               mid + "No</td>", left + "Budget &lt;draft&gt; &amp; notes</td>", "</tr>"}));
    EXPECT_EQ(lines[rows + 8 + 2], mid + "8:00 am</td>");
    EXPECT_EQ(lines[rows + 8 + 6], left + "Dentist<br>\nbring card<br>\n</td>");
    EXPECT_EQ(lines[rows + 16 + 1], mid + "20</td>");
    EXPECT_EQ(lines[rows + 16 + 6], left + "Tab\there</td>") << "a tab stays in the text";
    EXPECT_EQ(lines[rows + 24], "</table>");
    EXPECT_EQ(lines[rows + 25], "<br>&nbsp;");
}

TEST(WebPage, PublishWritesCrLfLinesOrAnswersAMissingName) {
    test::TempDir dir;
    const FormatSettings fs = FormatSettings::enUS();
    const int date = dateSerialOf(2015, 2, 1);
    EXPECT_EQ(publishWebCalendar("", date, {}, true, fs).messages(),
              (std::vector<std::string>{"An HTML file has not been specified"}));
    ASSERT_TRUE(publishWebCalendar(dir.file("cal.htm"), date, {}, true, fs));
    EXPECT_EQ(dir.read("cal.htm"), webPageText(date, {}, true, fs));
    EXPECT_EQ(webPageText(date, {}, false, fs).substr(0, 14), "<html><head>\r\n");
    EXPECT_EQ(webCalendarTitle(date, fs), "Publish February 2015 as a web page");
}

} // namespace
} // namespace dw
