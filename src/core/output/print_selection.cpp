#include "core/output/print_selection.h"

#include "core/dates/date_format.h"
#include "core/store/category_list.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"

#include <algorithm>

namespace dw {

namespace {

bool categoryAdmitted(const PrintSelection& sel, const std::string& category) {
    return !sel.byCategory || std::find(sel.categories.begin(), sel.categories.end(), category) !=
                                  sel.categories.end();
}

} // namespace

bool okToPrintDateTask(const PrintSelection& sel, int date, const std::string& done,
                       const std::string& category) {
    if (!sel.allDates && (date < sel.fromDate || date > sel.toDate))
        return false;
    if (!(isYes(done) ? sel.done : sel.notDone))
        return false;
    return categoryAdmitted(sel, category);
}

bool okToPrintNonDateTask(const PrintSelection& sel, const std::string& category) {
    return sel.todo && categoryAdmitted(sel, category);
}

std::optional<SelectionProblem> checkPrintSelection(const PrintSelection& sel) {
    using Field = SelectionProblem::Field;
    if (!sel.notDone && !sel.done && !sel.todo)
        return SelectionProblem{Field::NotDone,
                                "At least one of the DONE, NOT DONE or TO-DO options must be "
                                "checked"};
    if (!sel.allDates && sel.toDate < sel.fromDate)
        return SelectionProblem{Field::ToDate, "The second date must be AFTER the first date!"};
    // Without a category there is nothing to compare with; guessing "all" or "none" would
    // print or clear something other than what the user asked for.
    if (sel.byCategory && sel.categories.empty())
        return SelectionProblem{Field::Category,
                                "Choose a category, or untick \"Selected categories?\""};
    return std::nullopt;
}

CategoryChoices printCategoryChoices(const std::string& dataDir) {
    CategoryChoices choices;
    choices.entries = readListFile(categoryListPath(dataDir));
    if (choices.entries.empty()) {
        choices.entries = {"1 - High", "2 - Medium", "3 - Low", "4 - Don't Care"};
        return choices;
    }
    if (choices.entries.size() >= 2)
        choices.chosen = 1;
    return choices;
}

CellTable makePrintTable() {
    CellTable print(PrintCol::Count, 1);
    const char* headers[] = {"Date", "Time", "Category", "What", "Completed", "Alarm"};
    for (int c = 0; c < PrintCol::Count; ++c)
        print.setCell(c, 0, headers[c]);
    return print;
}

namespace {

int appendRow(CellTable& print) {
    const int r = print.rowCount();
    print.insertRows(r, 1);
    return r;
}

} // namespace

void transferToPrintTable(CellTable& print, const CellTable& gridStore, const PrintSelection& sel,
                          const FormatSettings& fs) {
    print = makePrintTable();
    for (int r = 1; r < gridStore.rowCount(); ++r) {
        const std::string& key = gridStore.cell(StoreCol::Key, r);
        if (key.empty())
            continue;
        const int date = keyDate(key, fs);
        if (!okToPrintDateTask(sel, date, gridStore.cell(StoreCol::Done, r),
                               gridStore.cell(StoreCol::Category, r)))
            continue;
        const int p = appendRow(print);
        print.setCell(PrintCol::Date, p, formatDateTime("ddddd", date, fs));
        print.setCell(PrintCol::Time, p, gridStore.cell(StoreCol::Time, r));
        print.setCell(PrintCol::Category, p, gridStore.cell(StoreCol::Category, r));
        print.setCell(PrintCol::What, p, gridStore.cell(StoreCol::What, r));
        print.setCell(PrintCol::Completed, p, gridStore.cell(StoreCol::Done, r));
        print.setCell(PrintCol::Alarm, p, gridStore.cell(StoreCol::Alarm, r));
    }
}

void appendTodoToPrintTable(CellTable& print, const CellTable& gridNonday,
                            const PrintSelection& sel) {
    for (int r = 1; r < gridNonday.rowCount(); ++r) {
        if (!isTodoRowOccupied(gridNonday, r))
            continue;
        const std::string& category = gridNonday.cell(TodoCol::Category, r);
        if (!okToPrintNonDateTask(sel, category))
            continue;
        const int p = appendRow(print);
        print.setCell(PrintCol::Date, p, "To-do");
        print.setCell(PrintCol::Category, p, category);
        print.setCell(PrintCol::What, p, gridNonday.cell(TodoCol::What, r));
        print.setCell(PrintCol::Completed, p, gridNonday.cell(TodoCol::Done, r));
    }
}

} // namespace dw
