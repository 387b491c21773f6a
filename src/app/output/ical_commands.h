#pragma once

#include "interchange/ical_import.h"

#include <QObject>
#include <string>

namespace dw {

class AppState;
struct CommandPlaces;

// File > Export > "iCalendar (.ics)" and File > Import > "iCalendar (.ics)": every task,
// to-do task and holiday written as one calendar file, and a calendar file's events,
// to-do tasks and holidays added after a preview.
class IcalCommands : public QObject {
    Q_OBJECT
public:
    IcalCommands(const CommandPlaces& places, AppState& state);

    // Asks for the file (and before replacing one the dialog did not ask about); false when
    // cancelled or the file could not be written (reported).
    bool exportCalendarFile();
    // Asks for the file, shows the import dialog, and once OK added the tasks shows them.
    void importCalendarFile();

    // How the import turns zoned times into local ones; the system's zone unless a test
    // fixes it.
    void setLocalTime(UtcToLocal toLocal) { toLocal_ = std::move(toLocal); }

private:
    void placeActions(const CommandPlaces& places);
    void showAddedTasks();

    QWidget* window_;
    AppState& state_;
    UtcToLocal toLocal_ = systemLocalTime;
    std::string lastExport_ = "tasks.ics";
    std::string lastImport_;
};

} // namespace dw
