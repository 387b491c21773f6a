#pragma once

#include "app/holidays/holiday_list_dialog.h"

namespace dw {

class AppState;
class MainWindow;

// The Holidays command: the holiday list dialog; afterwards the main window's holiday
// table is read from holiday.grd again and the calendars are repainted.
void runHolidaysCommand(MainWindow& window, AppState& state, const TablePrinter& printer);

// Places the command in the File menu and on the main toolbar and connects it.
void installHolidayCommands(MainWindow& window, AppState& state, TablePrinter printer);

} // namespace dw
