#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/editing/task_commands.h"
#include "core/output/completed_tasks.h"
#include "core/store/task_store.h"

namespace dw {

// What the editor's completion page records for a task completed as it stands (Mark as
// completed, then the page's OK with nothing changed): today as the completion date; the
// time the editor's time box starts at, which is the task's own time for a task of the day
// view (now when its cell does not read as a time) and now for a to-do task; the category
// and the text as the editor gives them back; the origin the main window gives the editor;
// no completion notes.
CompletedTask completionAsItStands(const DatedTask& task, TaskPane pane, int date,
                                   const FormatSettings& fs, const Clock& clock);

} // namespace dw
