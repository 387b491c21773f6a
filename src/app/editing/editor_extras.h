#pragma once

#include <functional>

class QWidget;

namespace dw {

class AppState;
class TaskCommands;
class TaskEditor;

// Gives every task editor the task commands open its Repeat menu (the recurrence dialog and
// the ten yearly copies) and its time "..." button (the time entry popup). After tasks were
// added the day view is read again from the store, so that a later write-back of the shown
// day cannot drop any of them, and the window repaints its calendars.
// `window` and the state must outlive the commands; `selectedDate` answers the date the
// window shows.
void equipTaskEditors(TaskCommands& commands, AppState& state, QWidget* window,
                      const std::function<int()>& selectedDate);
// The same work for one editor, for callers that equip editors further.
std::function<void(TaskEditor&)> editorExtras(AppState& state, QWidget* window,
                                              const std::function<int()>& selectedDate);

} // namespace dw
