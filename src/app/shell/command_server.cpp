#include "app/shell/command_server.h"

#include "app/calendar/calendar_pane.h"
#include "app/editing/task_commands.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "core/store/save_guard.h"

namespace dw {

CommandServer::CommandServer(MainWindow& window, AppState& state)
    : window_(window), state_(state) {}

CommandOutcome CommandServer::run(const std::vector<std::string>& words) {
    const PreparedWrite prepared = prepareWriteCommand(words, state_.fs());
    if (prepared.refused)
        return *prepared.refused;
    // A program that cannot write its folder refuses as the command line would there.
    if (!readOnlyDataFolder().empty())
        return refusedOutcome(readOnlyFolderRefusal(state_.paths().dataDir));
    // An edit in progress in the notes pane reaches the store first, so that refilling the
    // day view afterwards cannot lose it.
    if (TaskCommands* commands = window_.taskCommands())
        commands->writeBackNotesPane();
    const CommandOutcome outcome =
        applyWriteJob(prepared.job, state_.store(), &state_.completedTasks());
    showChanges();
    return outcome;
}

void CommandServer::showChanges() {
    TaskStore& store = state_.store();
    // The day view holds a copy of its date's tasks and is written back over them: it must
    // hold a task added to its date before its next write-back. Before the first show it
    // holds nothing yet.
    if (store.dayViewDate() != 0)
        store.readFromStore(store.dayViewDate());
    if (TaskCommands* commands = window_.taskCommands())
        commands->panesChanged();
    if (window_.firstShowDone())
        window_.calendarPane()->colorAllCalendars(true);
}

} // namespace dw
