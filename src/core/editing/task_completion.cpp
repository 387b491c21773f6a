#include "core/editing/task_completion.h"

#include "core/editing/task_edit.h"
#include "core/store/helpers.h"

namespace dw {

CompletedTask completionAsItStands(const DatedTask& task, TaskPane pane, int date,
                                   const FormatSettings& fs, const Clock& clock) {
    const DateSerial now = clock.now();
    CompletedTask record;
    record.completionDate = wholeDays(now);
    record.time =
        pane == TaskPane::Day ? dayFraction(timeOfText(task.time, fs, clock)) : dayFraction(now);
    record.category = singleLineText(task.category);
    record.origin = originText(pane, false, date, fs);
    // The editor shows the text's lines in its notes field and records what the field
    // gives back.
    std::vector<std::string> lines;
    textToLines(task.what, lines);
    std::string field;
    for (std::size_t i = 0; i < lines.size(); ++i)
        field += (i ? "\n" : "") + lines[i];
    record.what = memoText(field);
    return record;
}

} // namespace dw
