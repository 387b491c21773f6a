#include "app/store/archive_commands.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/day_notes.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_layout.h"
#include "app/widgets/cell_grid.h"
#include "core/output/print_selection.h"
#include "core/store/archive.h"
#include "core/store/clear_all.h"
#include "core/store/file_io.h"

#include <QAction>
#include <filesystem>

namespace dw {

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

ArchiveCommands::ArchiveCommands(QWidget& window, const MainActions& actions, DayNotes& notes,
                                 AppState& state, AskClearSelection askClearSelection)
    : QObject(&window), notes_(notes), state_(state),
      askClearSelection_(std::move(askClearSelection)) {
    const MainActions& a = actions;
    connect(a.archive, &QAction::triggered, this, [this] { archive(); });
    connect(a.restore, &QAction::triggered, this, [this] { restore(); });
    connect(a.clearAll, &QAction::triggered, this, [this] { clearAll(); });
}

std::string ArchiveCommands::suggestedName() const {
    if (folder_.empty())
        return kArchiveDefaultName;
    return (std::filesystem::path(folder_) / kArchiveDefaultName).string();
}

void ArchiveCommands::rememberFolder(const std::string& name) {
    folder_ = std::filesystem::path(name).parent_path().string();
}

void ArchiveCommands::archive() {
    // An edit still open in the notes pane belongs in the archive.
    notes_.writeBack();
    const std::string chosen =
        state_.prompts().saveFileName("Save Archive", suggestedName(), kArchiveFilter);
    if (chosen.empty())
        return;
    const std::string name = withArchiveExtension(chosen);
    // The dialog asked about the name it was given, not the one with ".arb" added.
    if (name != chosen && fileExists(name) &&
        !state_.prompts().askYesNo(name + " already exists.\nDo you want to replace it?",
                                   "Save Archive"))
        return;
    rememberFolder(name);
    const TaskStore& store = state_.store();
    const ArchiveResult result =
        writeArchive(name, store.gridStore(), store.gridNonday(), state_.completedTasks().table());
    if (result.ok)
        state_.prompts().info(archiveStoredMessage(result.names));
    else
        state_.prompts().error(joined(result.problems));
}

void ArchiveCommands::restore() {
    if (!state_.prompts().askYesNo(kRestoreQuestion, "Confirm"))
        return;
    const std::string chosen =
        state_.prompts().openFileName("Restore Archive", suggestedName(), kArchiveFilter);
    if (chosen.empty())
        return;
    const std::string name = withArchiveExtension(chosen);
    rememberFolder(name);
    restoreFrom(name);
}

bool ArchiveCommands::restoreFrom(const std::string& mainName) {
    // Written back now, or the edit would land in the restored day view later.
    notes_.writeBack();
    const ArchiveResult result = restoreArchive(mainName, state_.store(), state_.completedTasks());
    // One box a problem: each failing file, or each file that could not be written.
    for (const std::string& problem : result.problems)
        state_.prompts().error(problem);
    if (result.replaced)
        showNewTables();
    return result.ok;
}

void ArchiveCommands::clearAll() {
    notes_.writeBack();
    PrintSelection& selection = state_.printSelection();
    if (!askClearSelection_ || !askClearSelection_(selection))
        return;
    // The window checks its choices before OK; a selection that would clear nothing or
    // guess at a category is refused here all the same.
    if (const auto problem = checkPrintSelection(selection)) {
        state_.prompts().error(problem->message);
        return;
    }
    showErrors(state_.prompts(), clearAllData(state_.store(), selection, state_.fs()));
    showNewTables();
}

void ArchiveCommands::showNewTables() {
    // Every table is new; the day view is read again from them, not written back.
    state_.storeEvents().publish(StoreChange::everything());
}

} // namespace dw
