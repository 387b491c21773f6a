#include "app/editing/editor_extras.h"

#include "app/editing/recurrence_dialog.h"
#include "app/editing/task_commands.h"
#include "app/editing/task_editor.h"
#include "app/editing/time_entry_popup.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "core/editing/recurrence.h"

#include <QPointer>

namespace dw {

void equipTaskEditors(TaskCommands& commands, AppState& state, QWidget* window,
                      const std::function<int()>& selectedDate) {
    commands.setEditorSetup(editorExtras(state, window, selectedDate));
}

std::function<void(TaskEditor&)> editorExtras(AppState& state, QWidget* window,
                                              const std::function<int()>& selectedDate) {
    QPointer<QWidget> shown(window);
    // The added tasks may lie on the shown date (the range can be moved back to it): the day
    // view takes them from the store before anything writes it back.
    auto tasksAdded = [&state, shown] {
        StoreChange added;
        added.everyDate = true;
        state.storeEvents().publish(added);
        if (shown)
            shown->update();
    };

    return [&state, tasksAdded, selectedDate](TaskEditor& editor) {
        RepeatHooks hooks;
        hooks.repeat = [&state, &editor, tasksAdded](const TaskEditResult& values,
                                                     DateSerial start) {
            RecurrenceDialog dialog(state.fs(), state.clock(), state.store(), state.prompts(),
                                    &editor);
            dialog.init(values.time, values.category, values.notes, values.alarm);
            dialog.setStartDate(wholeDays(start));
            if (dialog.exec() != QDialog::Accepted)
                return false;
            tasksAdded();
            return true;
        };
        hooks.repeatAnnually = [&state, tasksAdded, selectedDate](const TaskEditResult& values) {
            const DatedTask task{generatedTimeText(values.time, state.fs()), values.category,
                                 values.notes, false, values.alarm};
            showErrors(
                state.prompts(),
                addRecurringTasks(state.store(), annualDatesForTenYears(selectedDate()), task));
            tasksAdded();
        };
        editor.setRepeatHooks(std::move(hooks));

        editor.setTimePicker([&state, &editor](double time) -> std::optional<double> {
            TimeEntryPopup popup(state.fs(), state.clock(), &editor);
            popup.setTime(time);
            if (popup.exec() != QDialog::Accepted)
                return std::nullopt;
            return popup.returnedTime();
        });
    };
}

} // namespace dw
