#pragma once

#include "app/holidays/holiday_list_dialog.h"

namespace dw {

class AppState;
class CalendarPane;
struct CommandPlaces;
struct WindowState;

// The Holidays command: the holiday list dialog over `window` (deletes confirmed as the
// window's option says); afterwards the holiday table is read from holiday.grd again and
// the calendars are repainted.
void runHolidaysCommand(QWidget& window, const WindowState& windowState, CalendarPane& calendars,
                        AppState& state, const TablePrinter& printer);

// Places the command in the File menu and on the main toolbar and connects it.
void installHolidayCommands(const CommandPlaces& places, const WindowState& windowState,
                            CalendarPane& calendars, AppState& state, TablePrinter printer);

// The holiday list open over `window`, if one is shown. The list is made for each Holidays
// command and is gone once closed; a hidden one is closed all the same.
HolidayListDialog* openHolidayList(const QWidget& window);

} // namespace dw
