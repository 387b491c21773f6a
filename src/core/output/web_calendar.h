#pragma once

#include "core/common/status.h"
#include "core/dates/format_settings.h"
#include "core/store/cell_table.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace dw {

class TaskStore;

// The days of one month in week rows 1 to 6 and day columns 1 (Sunday) to 7 (Saturday);
// 0 is an empty cell. Row and column 0 are unused. Weeks always begin on Sunday.
struct MonthLayout {
    std::array<std::array<int, 8>, 7> day{};
    int at(int row, int col) const {
        return day[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    }
};
MonthLayout monthLayout(int year, int month);

// The checkerboard: "bgcolor=#CCFFFF" where row and column are both odd or both even.
std::string shadingText(int row, int col);

// What the page asks of the window for each day. dayContent answers the HTML of a day's
// cell (already escaped); dayDetails answers one line per task, six tab-separated plain
// fields: day, time, category, alarm flag, done flag, text.
struct WebPageSources {
    std::function<std::string(int date)> dayContent;
    std::function<std::vector<std::string>(int date)> dayDetails;
};

// Every line of the month page for the month of `monthDate`, in order; with `details`
// the table of daily details follows the calendar.
std::vector<std::string> webPageLines(int monthDate, const WebPageSources& sources, bool details,
                                      const FormatSettings& fs);
// The same lines, each ended by CR LF.
std::string webPageText(int monthDate, const WebPageSources& sources, bool details,
                        const FormatSettings& fs);

// The main window's answers for a date: the holiday in blue, then each filtered task's
// time in lower case and category; and the filtered tasks' detail lines.
std::string webDayContent(const TaskStore& store, const CellTable& holidays, int date,
                          const FormatSettings& fs);
std::vector<std::string> webDayDetails(const TaskStore& store, int date);
WebPageSources webPageSources(const TaskStore& store, const CellTable& holidays,
                              const FormatSettings& fs);

// Writes the page (PublishIt). An empty file name fails ("An HTML file has not been
// specified"), and so does a file that cannot be written (writeOutputFile).
Status publishWebCalendar(const std::string& path, int monthDate, const WebPageSources& sources,
                          bool details, const FormatSettings& fs);

// The dialog's title: "Publish " + "mmmm yyyy" + " as a web page".
std::string webCalendarTitle(int monthDate, const FormatSettings& fs);

} // namespace dw
