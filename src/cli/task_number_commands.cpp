#include "cli/task_number_commands.h"

#include "cli/store_loading.h"
#include "cli/write_lock.h"
#include "core/commands/write_commands.h"
#include "core/dates/date_format.h"
#include "core/editing/task_commands.h"
#include "core/output/completed_tasks.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "platform/data_lock.h"

#include <iostream>

namespace dw::cli {
namespace {

// Refusals of the data: the message goes to stderr, exit status 1.
int refuse(const std::string& message) {
    std::cerr << "dayweaver-cli: " << message << '\n';
    return 1;
}

int taskNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos || std::stoi(text) < 1)
        throw UsageError{"not a task number: " + text};
    return std::stoi(text);
}

// The store row of the date's n-th task, or 0.
int rowOfNumber(const TaskStore& store, int date, int n) {
    const CellTable& s = store.gridStore();
    int seen = 0;
    for (int r = 1; r < s.rowCount(); ++r)
        if (store.keyDate(r) == date && ++seen == n)
            return r;
    return 0;
}

// Runs `change` on the addressed task's store row under the write lock and saves.
template <typename Change>
int changeTask(Args& args, const std::string& dataDir, const FormatSettings& fs, const Clock& clock,
               std::vector<std::string>& errors, Change&& change) {
    const int date = parseIsoDate(args.requirePositional("DATE"));
    const int n = taskNumber(args.requirePositional("N"));
    args.expectEnd();
    DataDirLock lock(dataDir);
    if (const auto refusal = takeWriteLock(lock, dataDir))
        return refuse(*refusal);
    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    if (const auto why = loadDatedTasks(store, dataDir))
        return refuse(*why);
    const int row = rowOfNumber(store, date, n);
    if (row == 0)
        return refuse(isoDate(date) + " has no task " + std::to_string(n));
    if (const std::string refusal = change(store, row, date); !refusal.empty())
        return refuse(refusal);
    if (!store.SortGridStore() || !errors.empty())
        return refuse(errors.empty() ? "the file could not be saved" : errors.front());
    return 0;
}

} // namespace

int editCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, std::vector<std::string>& errors) {
    const auto time = args.takeOption("--time");
    const auto text = args.takeOption("--text");
    const auto category = args.takeOption("--category");
    const auto alarm = args.takeOption("--alarm");
    if (!time && !text && !category && !alarm)
        throw UsageError{"edit needs at least one of --time, --text, --category, --alarm"};
    if (alarm && *alarm != "on" && *alarm != "off")
        throw UsageError{"--alarm is on or off"};
    const std::string timeText = time ? timeCellText(parseIsoTime(*time), fs) : std::string();
    const std::string newText = text ? checkedTaskText(*text) : std::string();
    const std::string newCategory = category ? checkedCategory(*category) : std::string();
    return changeTask(args, dataDir, fs, clock, errors, [&](TaskStore& store, int row, int) {
        CellTable& s = store.gridStore();
        if (time)
            s.setCell(StoreCol::Time, row, timeText);
        if (text)
            s.setCell(StoreCol::What, row, newText);
        if (category)
            s.setCell(StoreCol::Category, row, newCategory);
        if (alarm)
            s.setCell(StoreCol::Alarm, row, yesNo(*alarm == "on"));
        return std::string();
    });
}

int doneCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, std::vector<std::string>& errors) {
    return changeTask(args, dataDir, fs, clock, errors, [&](TaskStore& store, int row, int date) {
        CellTable& s = store.gridStore();
        if (isYes(s.cellView(StoreCol::Done, row)))
            return std::string(kAlreadyComplete);
        s.setCell(StoreCol::Done, row, "Yes");
        // The completion is recorded as the window's Mark as completed records it.
        CellTable completed(CompCol::Count, 2);
        const std::string path = joinPath(dataDir, kCompletedFileName);
        loadTableIfPresent(completed, path, false);
        CompletedTask record;
        record.completionDate = wholeDays(clock.now());
        record.time = dayFraction(clock.now());
        record.category = s.cell(StoreCol::Category, row);
        record.origin = originText(TaskPane::Day, false, date, fs);
        record.what = s.cell(StoreCol::What, row);
        if (!AddToCompleteGrid(completed, path, record, fs))
            return errors.empty() ? std::string("the completed tasks could not be saved")
                                  : errors.front();
        return std::string();
    });
}

int deleteCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                  const Clock& clock, std::vector<std::string>& errors) {
    return changeTask(args, dataDir, fs, clock, errors, [](TaskStore& store, int row, int) {
        store.gridStore().setCell(StoreCol::Key, row, ""); // the sort drops it
        return std::string();
    });
}

} // namespace dw::cli
