#include "core/calendar/day_marking.h"

#include "core/dates/date_serial.h"

namespace dw {

namespace {

constexpr WinColor kButtonFace = 0x8000000F;
constexpr WinColor kWindowText = 0x80000008;
constexpr WinColor kButtonHighlight = 0x80000014;
constexpr WinColor kNeighbourGrey = 0x00808080;

} // namespace

DayMarkingSettings dayMarkingSettingsOf(const Options& o) {
    DayMarkingSettings s;
    s.colorDone = o.colorDone;
    s.colorNotDone = o.colorNotDone;
    s.colorHoliday = o.colorHoliday;
    s.done = {o.doneFG, o.doneBG};
    s.notDone = {o.notDoneFG, o.notDoneBG};
    s.holiday = {o.holidayFG, o.holidayBG};
    return s;
}

DayMarking markDay(const DayCell& cell, const DayMarkingSettings& settings,
                   const HighlightQuery& dateHighlight, const HolidayNameQuery& holidayName) {
    if (!cell.settled)
        return {};

    const CivilDate d = decodeDate(cell.date);
    if (d.year != cell.shownYear || d.month != cell.shownMonth)
        return {DayMark::NeighbourMonth, {kNeighbourGrey, kButtonFace}, true};

    // The active calendar's selected day keeps the control's selected look whatever falls
    // on it, so there is nothing to look up.
    if (cell.selected && cell.activeCalendar)
        return {DayMark::Selected, {kWindowText, kButtonHighlight}, true};

    DayMarking m{DayMark::Plain, {kWindowText, kButtonFace}, true};

    if (settings.colorHoliday && holidayName && !holidayName(cell.date).empty())
        m = {DayMark::Holiday, settings.holiday, true};

    if (!dateHighlight)
        return m;
    if (settings.colorDone && settings.colorNotDone) {
        // Work still to do on a date matters more than work finished there.
        if (dateHighlight(cell.date, false, true) == 2)
            m = {DayMark::NotDone, settings.notDone, true};
        else if (dateHighlight(cell.date, true, false) == 1)
            m = {DayMark::Done, settings.done, true};
    } else if (settings.colorDone || settings.colorNotDone) {
        const int r = dateHighlight(cell.date, settings.colorDone, settings.colorNotDone);
        if (r == 1)
            m = {DayMark::Done, settings.done, true};
        else if (r == 2)
            m = {DayMark::NotDone, settings.notDone, true};
    }
    return m;
}

} // namespace dw
