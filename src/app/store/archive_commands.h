#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

namespace dw {

class AppState;
class DayNotes;
class MainActions;
struct PrintSelection;

// The main window's commands on all the tasks at once: File > "Archive current data" (and
// the toolbar's "Archive"), "Restore old data" and "Clear all data". The rules are the
// core's (archive.h, clear_all.h); this class asks, reports and refreshes the window.
class ArchiveCommands : public QObject {
    Q_OBJECT
public:
    // Shows the print window in its clearing mode over the given selection, which it edits;
    // true when the window was closed with OK.
    using AskClearSelection = std::function<bool(PrintSelection&)>;

    // Its dialogs open over `window`; the notes pane's edit is written back before each
    // command.
    ArchiveCommands(QWidget& window, const MainActions& actions, DayNotes& notes, AppState& state,
                    AskClearSelection askClearSelection);

    void archive();
    void restore();
    void clearAll();
    // Restore without asking: the archive set named, its problems shown, the window
    // refreshed when the tables were replaced. For a restore handed over by the command
    // line as well as for the menu command.
    bool restoreFrom(const std::string& mainName);

    void setAskClearSelection(AskClearSelection ask) { askClearSelection_ = std::move(ask); }

private:
    // The file dialogs open in the folder of the last archive chosen, on "backup.arb".
    std::string suggestedName() const;
    void rememberFolder(const std::string& name);
    // The day view, the to-do list, the captions and the calendars show the new tables.
    void showNewTables();

    DayNotes& notes_;
    AppState& state_;
    AskClearSelection askClearSelection_;
    std::string folder_;
};

} // namespace dw
