#include "app/editing/day_notes.h"

#include "app/editing/notes_field.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/focus_out_watcher.h"
#include "app/widgets/win_color.h"
#include "core/editing/task_commands.h"
#include "core/editing/task_edit.h"
#include "core/store/helpers.h"
#include "core/store/task_limits.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace dw {

NotesField* makeNotesPane(QWidget* parent) {
    return new NotesField(kNotesMaxChars, parent);
}

DayNotes::DayNotes(QPlainTextEdit& pane, CellGrid& gridDay, AppState& state, QObject* parent)
    : QObject(parent), pane_(pane), gridDay_(gridDay), state_(state) {
    pane_.installEventFilter(new FocusOutWatcher(this, [this] { writeBack(); }));
}

void DayNotes::fill() {
    const CellTable& day = state_.store().gridDay();
    const int row = gridDay_.selectedRow();
    if (row < 1 || row >= day.rowCount()) {
        pane_.hide();
        return;
    }
    const std::string& what = day.cell(DayCol::What, row);
    pane_.setPlainText(QString::fromStdString(notesPaneText(what)));
    QPalette pal = pane_.palette();
    pal.setColor(QPalette::Base, toQColor(notesPaneColor(isYes(day.cell(DayCol::Done, row)))));
    pane_.setPalette(pal);
    pane_.setVisible(!what.empty());
}

void DayNotes::writeBack() {
    if (!pane_.document()->isModified())
        return;
    pane_.document()->setModified(false);
    CellTable& day = gridDay_.table();
    const int row = gridDay_.selectedRow();
    if (!isPaneRowOccupied(day, TaskPane::Day, row))
        return;
    const std::string typed = pane_.toPlainText().toStdString();
    if (notesAreBlank(memoLines(typed))) {
        // A task keeps its text: as in the editor, blank notes are refused.
        fill();
        showBlankLater();
        return;
    }
    const std::string what = notesPaneWriteBack(typed);
    if (what == day.cell(DayCol::What, row))
        return;
    day.setCell(DayCol::What, row, what);
    // The day view's own date: when a date change is under way the calendars already show
    // the new one.
    showErrors(state_.prompts(), state_.store().writeToStore(state_.store().dayViewDate()));
    gridDay_.refresh();
    fill();
}

void DayNotes::showBlankLater() {
    // Not from inside the focus change that brought us here.
    QTimer::singleShot(0, this, [this] { state_.prompts().error(kNotesBlankMessage); });
}

} // namespace dw
