#pragma once

#include "app/calendar/selected_day.h"
#include "core/prompts/prompts.h"

#include <QObject>
#include <string>

namespace dw {

class AppState;
class CellTable;
class ShadowLabel;
struct CommandPlaces;

// The save dialogs of the export commands: title, filter, default name and extension.
// Each dialog opens on the name last chosen in it.
class ExportDialog {
public:
    enum Kind { Html, CommaDelimited };
    ExportDialog(Prompts& prompts, Kind kind, std::string defaultName);

    // Asks for a file name (the dialog asks before replacing a file); empty when cancelled.
    // A name without an extension gets the dialog's default one.
    std::string ask();
    // Asks, then writes the table with the dialog's writer; false when cancelled or failed.
    bool exportTable(const CellTable& table);
    Kind kind() const { return kind_; }

private:
    Prompts& prompts_;
    Kind kind_;
    std::string lastName_;
};

// The main window's export and publishing commands: the pop-up menus' "Export" of each
// grid, File > "Export" > "Daily Tasks" and "To-do tasks", and "Publish Calendar as Web
// Page".
class ExportCommands : public QObject {
    Q_OBJECT
public:
    // The web page's dialog starts at the selected date's month in the date caption's font.
    ExportCommands(const CommandPlaces& places, SelectedDay selected,
                   const ShadowLabel& dateCaption, AppState& state);

    void exportDay(ExportDialog& dialog);
    void exportTodo(ExportDialog& dialog);
    // Rebuilds the print table from the current print selection, then exports it (the
    // table is rebuilt even when the dialog is cancelled).
    void exportDailyTasks(ExportDialog& dialog);
    void publishWebPage();

    ExportDialog& htmlDialog() { return html_; }
    ExportDialog& csvDialog() { return csv_; }

private:
    void placeActions(const CommandPlaces& places);

    QWidget* window_;
    SelectedDay selected_;
    const ShadowLabel& dateCaption_;
    AppState& state_;
    ExportDialog html_;
    ExportDialog csv_;
};

} // namespace dw
