#pragma once

#include "core/settings/options.h"

#include <functional>
#include <string>

namespace dw {

// How a day cell of a month calendar is coloured: by the tasks not yet done and done on its
// date, and by holidays. The rule is the same for all four calendars of the main window;
// the calendar control only asks for the answer and paints it.

// Which look a cell takes. None: the cell is not drawn at all (the calendars are being
// re-dated, or the options are not there yet).
enum class DayMark { None, NeighbourMonth, Selected, NotDone, Done, Holiday, Plain };

struct ColorPair {
    WinColor fore = 0; // text colour
    WinColor back = 0; // fill colour
    friend bool operator==(const ColorPair&, const ColorPair&) = default;
};

// The colouring switches and colour pairs of the options.
struct DayMarkingSettings {
    bool colorDone = true;
    bool colorNotDone = true;
    bool colorHoliday = true;
    ColorPair done{0x00000000, 0x00FFFF00};
    ColorPair notDone{0x00FFFFFF, 0x000000FF};
    ColorPair holiday{0x00000000, 0x0000FFFF};
};
DayMarkingSettings dayMarkingSettingsOf(const Options& o);

// The cell being drawn and the state of its calendar.
struct DayCell {
    int date = 0;                // whole-day serial of the cell
    int shownYear = 0;           // the month the calendar shows
    int shownMonth = 0;          // 1..12
    bool selected = false;       // the calendar's selected cell
    bool activeCalendar = false; // the calendar is the active one
    bool settled = true;         // false while the calendars are re-dated: nothing is drawn
};

// dateHighlight(date, wantDone, wantNotDone): 1 done, 2 not done, -1 nothing (counting only
// tasks that pass the filter). holidayName(date): the holiday's name, empty when none.
using HighlightQuery = std::function<int(int date, bool wantDone, bool wantNotDone)>;
using HolidayNameQuery = std::function<std::string(int date)>;

struct DayMarking {
    DayMark mark = DayMark::None;
    ColorPair colors;         // meaningful unless mark is None
    bool defaultDraw = false; // the control paints the cell with `colors`
};

// The colouring precedence, strongest first: the selected day of the active calendar, days
// of the neighbouring months (never marked), tasks not yet done, done tasks, holidays,
// plain. With both task colourings on, a date holding both kinds shows not-done. The
// queries are asked only when their answer can matter.
DayMarking markDay(const DayCell& cell, const DayMarkingSettings& settings,
                   const HighlightQuery& dateHighlight, const HolidayNameQuery& holidayName);

} // namespace dw
