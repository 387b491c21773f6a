#include "core/output/web_calendar.h"

#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/output/table_writers.h"
#include "core/store/task_store.h"
#include "core/text/lower_text.h"

namespace dw {

namespace {

constexpr const char* kCreditLink = "https://www.velmora.example/";
constexpr const char* kShade = "bgcolor=#CCFFFF";

using Lines = std::vector<std::string>;

void addStyleRule(Lines& out, const char* selector, const std::vector<std::string>& props,
                  bool spaceAfter) {
    if (selector)
        out.push_back(std::string(" ") + selector + "  {");
    for (const std::string& p : props)
        out.push_back(p);
    out.push_back(" }");
    if (spaceAfter)
        out.push_back(" ");
}

// A property line: a space and a tab before the text, or, marked "tab only", the tab alone.
std::string prop(const char* text) {
    return std::string(" \t") + text;
}
std::string tabOnly(const char* text) {
    return std::string("\t") + text;
}

void addStyleBlock(Lines& out) {
    const std::vector<std::string> cellBorders = {
        prop("border-color : #669999;"),      prop("border-width : .1em;"),
        prop("border-bottom-style : solid;"), prop("border-top-style : none;"),
        prop("border-right-style : solid;"),  prop("border-left-style : none;")};
    const std::vector<std::string> rightBorders = {
        prop("border-color : #669999;"),     prop("border-width : .1em;"),
        prop("border-bottom-style : none;"), prop("border-top-style : none;"),
        prop("border-right-style : solid;"), prop("border-left-style : none;")};
    std::vector<std::string> numberCell = {prop("font-family : Verdana, Arial;"),
                                           tabOnly("color : #669999;")};
    numberCell.insert(numberCell.end(), rightBorders.begin(), rightBorders.end());

    out.push_back("<style type=\"text/css\"> body  {");
    addStyleRule(out, nullptr,
                 {prop("font-family : Arial;"), prop("font-size : 9pt;"), prop("margin : 0px;")},
                 true);
    addStyleRule(out, "td.CalMonth",
                 {prop("font-family : Verdana, Arial;"), tabOnly("font-size : x-large;"),
                  prop("font-weight : bold;"), prop("background-color : #669999;"),
                  prop("color : #CCFFFF;")},
                 true);
    addStyleRule(out, "td", {prop("font-family : Arial;"), prop("font-size : 9pt;")}, true);
    addStyleRule(out, "td.DayHeader",
                 {prop("font-family : Verdana, Arial;"), tabOnly("color : #669999;"),
                  prop("font-style : italic;"), prop("border-color : #669999;"),
                  prop("border-width : .1em;"), prop("border-bottom-style : solid;"),
                  prop("border-top-style : none;"), prop("border-right-style : none;"),
                  prop("border-left-style : none;")},
                 true);
    addStyleRule(out, "td.cell", cellBorders, true);
    addStyleRule(out, "td.bottomcell", cellBorders, true);
    addStyleRule(out, "td.rightcell", rightBorders, false);
    addStyleRule(out, "td.numbercell", numberCell, true);
    addStyleRule(out, "td.FillDay", rightBorders, true);
    addStyleRule(out, "td.bottomFillDay", cellBorders, true);
    out.push_back(" </style> ");
}

void addPageHead(Lines& out) {
    out.push_back("<html><head>");
    out.push_back("<META HTTP-EQUIV='Content-Type' content='text/html; charset=utf-8'>");
    out.push_back("<title>Calendar</title>");
    out.push_back("");
    addStyleBlock(out);
    out.push_back("");
    out.push_back("</head>");
    out.push_back("<body bgcolor=white>");
    out.push_back("<font face=\"Arial\" size=\"-1\">");
}

void addMonthTitle(Lines& out, int monthDate, const FormatSettings& fs) {
    out.push_back("<table width=\"100%\">");
    out.push_back("<td width=\"1%\">&nbsp;</td>");
    out.push_back("<td align=\"center\" class=\"calmonth\">Dayweaver - " +
                  escapeHtml(formatDateTime("mmmm yyyy", monthDate, fs)) + "</td>");
    out.push_back("</table>");
}

void addTableHead(Lines& out) {
    const std::string cell = "<td valign=top width=14% nowrap align=center class=dayheader";
    out.push_back("<table border=0 cellspacing=0 cellpadding=1>");
    out.push_back("");
    out.push_back("<tr>");
    out.push_back("<td width=1>&nbsp;</td> ");
    out.push_back(cell + " >Sunday</td> ");
    out.push_back(cell + " bgcolor=#CCFFFF>Monday</td> ");
    out.push_back(cell + ">Tuesday</td> ");
    out.push_back(cell + " bgcolor=#CCFFFF>Wednesday</td>");
    out.push_back(cell + ">Thursday</td> ");
    out.push_back(cell + " bgcolor=#CCFFFF>Friday</td> ");
    out.push_back(cell + ">Saturday</td> <!-- Saturday label -->");
    out.push_back("</tr>");
}

void addWeekRow(Lines& out, const MonthLayout& layout, int r, int year, int month,
                const WebPageSources& sources) {
    out.push_back("<tr>");
    if (r == 1)
        out.push_back("<td width=1 class=rightcell rowspan=12>&nbsp;</td>");
    for (int c = 1; c <= 7; ++c) {
        const int day = layout.at(r, c);
        if (day > 0)
            out.push_back("<td valign=top width=14% nowrap align=right class=numbercell " +
                          shadingText(r, c) + ">" + std::to_string(day) + "</td>");
        else
            out.push_back("<td width=14% class=FillDay " + shadingText(r, c) + ">&nbsp;</td>");
    }
    out.push_back("</tr>");

    out.push_back("<tr>");
    for (int c = 1; c <= 7; ++c) {
        const int day = layout.at(r, c);
        if (day > 0) {
            std::string content;
            if (sources.dayContent)
                content = sources.dayContent(dateSerialOf(year, month, day));
            if (content.empty())
                content = "&nbsp;";
            out.push_back("<td width=14% class=cell " + shadingText(r, c) + " valign=\"top\" " +
                          (c == 1 ? "height=\"90\"" : "") + ">" + content + "</td>");
        } else {
            out.push_back("<td width=14% class=BottomFillDay height=\"90\" " + shadingText(r, c) +
                          ">&nbsp;</td>");
        }
    }
    out.push_back("</tr>");
}

// Field n (from 1) of a tab-separated line; the sixth runs to the end of the line so that
// a tab inside a task's text stays in it.
std::string detailField(const std::string& line, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string::npos)
            return {};
        start = tab + 1;
    }
    if (n == 6)
        return line.substr(start);
    const std::size_t end = line.find('\t', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// A detail text as HTML: escaped, and its line breaks kept as "<br>".
std::string detailHtml(const std::string& text) {
    std::string out;
    for (const char ch : escapeHtml(text)) {
        if (ch == '\r')
            out += "<br>";
        else
            out += ch;
    }
    return out;
}

void addDetails(Lines& out, const MonthLayout& layout, int year, int month,
                const WebPageSources& sources) {
    const std::string head = "<td class=dayheader align=\"center\" bgcolor=#CCFFFF>";
    out.push_back("<p>");
    out.push_back("<table width=\"100%\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">");
    out.push_back("<tr>");
    out.push_back("<td colspan=\"6\" align=\"center\" class=\"calmonth\">Details</td>");
    out.push_back("</tr>");
    out.push_back("<tr>");
    for (const char* name : {"Day", "Time", "Category", "Alarm?", "Done?"})
        out.push_back(head + name + "</td>");
    out.push_back("<td width=55% class=dayheader bgcolor=#CCFFFF>Notes</td>");
    out.push_back("</tr>");
    for (int r = 1; r <= 6; ++r) {
        for (int c = 1; c <= 7; ++c) {
            const int day = layout.at(r, c);
            if (day == 0 || !sources.dayDetails)
                continue;
            for (const std::string& line : sources.dayDetails(dateSerialOf(year, month, day))) {
                out.push_back("<tr>");
                for (int f = 1; f <= 5; ++f)
                    out.push_back("<td class=detail valign=\"top\" align=\"center\">" +
                                  detailHtml(detailField(line, f)) + "</td>");
                out.push_back("<td class=detail valign=\"top\" align=\"left\">" +
                              detailHtml(detailField(line, 6)) + "</td>");
                out.push_back("</tr>");
            }
        }
    }
    out.push_back("</table>");
}

void addFooter(Lines& out) {
    out.push_back("<br>&nbsp;");
    out.push_back("<CENTER><HR width=\"90%\">");
    out.push_back(std::string("<FONT SIZE=\"-1\" FACE=\"Arial\">Dayweaver courtesy of <A HREF=\"") +
                  kCreditLink + "\" TARGET=\"_top\">Velmora Corporation</A><BR>");
    out.push_back("&nbsp;</FONT></CENTER>");
    out.push_back("</body></html>");
}

} // namespace

MonthLayout monthLayout(int year, int month) {
    MonthLayout layout;
    int r = 1;
    int c = dayOfWeek(dateSerialOf(year, month, 1));
    for (int day = 1; day <= daysInMonth(month, year); ++day) {
        layout.day[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = day;
        if (++c > 7) {
            c = 1;
            ++r;
        }
    }
    return layout;
}

std::string shadingText(int row, int col) {
    return (row % 2) == (col % 2) ? kShade : "";
}

std::vector<std::string> webPageLines(int monthDate, const WebPageSources& sources, bool details,
                                      const FormatSettings& fs) {
    const CivilDate d = decodeDate(monthDate);
    const MonthLayout layout = monthLayout(d.year, d.month);
    Lines out;
    addPageHead(out);
    addMonthTitle(out, monthDate, fs);
    addTableHead(out);
    for (int r = 1; r <= 5; ++r)
        addWeekRow(out, layout, r, d.year, d.month, sources);
    if (layout.at(6, 1) > 0)
        addWeekRow(out, layout, 6, d.year, d.month, sources);
    out.push_back("</table>");
    out.push_back("</font>");
    if (details)
        addDetails(out, layout, d.year, d.month, sources);
    addFooter(out);
    return out;
}

std::string webPageText(int monthDate, const WebPageSources& sources, bool details,
                        const FormatSettings& fs) {
    std::string text;
    for (const std::string& line : webPageLines(monthDate, sources, details, fs))
        text += line + "\r\n";
    return text;
}

std::string webDayContent(const TaskStore& store, const CellTable& holidays, int date,
                          const FormatSettings& fs) {
    std::string content;
    const std::string holiday = holidayForDate(holidays, date, fs);
    if (!holiday.empty())
        content += "<font color=\"Blue\">" + escapeHtml(holiday) + "</font><br>";
    const CellTable& s = store.gridStore();
    store.forEachVisibleRow(date, [&](int r) {
        content += escapeHtml(lowerCase(s.cell(StoreCol::Time, r))) + " " +
                   escapeHtml(s.cell(StoreCol::Category, r)) + "<br>";
    });
    return content;
}

std::vector<std::string> webDayDetails(const TaskStore& store, int date) {
    std::vector<std::string> lines;
    const CellTable& s = store.gridStore();
    const std::string day = std::to_string(decodeDate(date).day);
    store.forEachVisibleRow(date, [&](int r) {
        lines.push_back(day + '\t' + lowerCase(s.cell(StoreCol::Time, r)) + '\t' +
                        s.cell(StoreCol::Category, r) + '\t' + s.cell(StoreCol::Alarm, r) + '\t' +
                        s.cell(StoreCol::Done, r) + '\t' + s.cell(StoreCol::What, r));
    });
    return lines;
}

WebPageSources webPageSources(const TaskStore& store, const CellTable& holidays,
                              const FormatSettings& fs) {
    return {[&store, &holidays, &fs](int date) { return webDayContent(store, holidays, date, fs); },
            [&store](int date) { return webDayDetails(store, date); }};
}

Status publishWebCalendar(const std::string& path, int monthDate, const WebPageSources& sources,
                          bool details, const FormatSettings& fs) {
    if (path.empty())
        return Status::failure("An HTML file has not been specified");
    return writeOutputFile(path, webPageText(monthDate, sources, details, fs));
}

std::string webCalendarTitle(int monthDate, const FormatSettings& fs) {
    return "Publish " + formatDateTime("mmmm yyyy", monthDate, fs) + " as a web page";
}

} // namespace dw
