#include "cli/writing_commands.h"

#include "cli/write_lock.h"
#include "core/commands/listing_text.h"
#include "core/output/completed_tasks.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "interchange/ical_import.h"
#include "interchange/ical_import_command.h"
#include "platform/data_lock.h"
#include "platform/single_instance.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace dw::cli {

namespace {

// A moment for the program to accept the connection, and time enough for it to apply the
// command and save (a large store takes a fraction of a second).
constexpr int kConnectMs = 2000;
constexpr int kAnswerMs = 30000;

int printed(const CommandOutcome& outcome) {
    // Whoever made the outcome (this command or a running program of another version), no
    // raw control character reaches the terminal.
    std::cout << withoutRawControls(outcome.out) << std::flush;
    std::cerr << withoutRawControls(outcome.err) << std::flush;
    return outcome.status;
}

// The program has a working folder of its own: a file is named in full. The command line
// names it so too when it applies the command itself, so that both print the same.
std::vector<std::string> withFullFileName(const WriteCommand& command,
                                          std::vector<std::string> words) {
    if (const auto file = fileArgumentIndex(command, words)) {
        std::error_code error; // no working folder left: the name goes as typed
        const std::filesystem::path full = std::filesystem::absolute(words[*file], error);
        if (!error)
            words[*file] = full.lexically_normal().string();
    }
    return words;
}

std::optional<CommandOutcome> handOver(const std::vector<std::string>& words,
                                       const std::string& dataDir) {
    return SingleInstance::sendCommand(SingleInstance::serverNameFor(dataDir), words, kConnectMs,
                                       kAnswerMs);
}

// Applies the job here: the folder is ours while `lock` is held.
CommandOutcome applyHere(const WriteCommand& command, const WriteJob& job,
                         const std::string& dataDir, const FormatSettings& fs, const Clock& clock) {
    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    CompletedTasks completed(dataDir);
    // As the program holds it: what holiday.grd holds, else an empty table.
    CellTable holidays(4, 2);
    const std::string holidayPath = joinPath(dataDir, "holiday.grd");
    // A file that cannot be read stops the command before anything is written, so nothing
    // is lost and no copy of the damaged file is needed.
    try {
        if (command.tables.store)
            store.loadStoreFile(false);
        if (command.tables.todo)
            store.loadTodoFile(false);
        if (command.tables.completed)
            loadTableIfPresent(completed.table(), completed.path(), false);
        if (command.tables.holidays)
            loadTableIfPresent(holidays, holidayPath, false);
    } catch (const TableFileError& e) {
        return refusedOutcome(e.what());
    }
    WriteTarget target{store, &completed, &holidays, holidayPath};
    return applyWriteJob(job, target);
}

} // namespace

int runWritingCommand(const WriteCommand& command, const std::vector<std::string>& typed,
                      const std::string& dataDir, const FormatSettings& fs, const Clock& clock) {
    const std::vector<std::string> words = withFullFileName(command, typed);
    WriteJob job;
    try {
        Args args(words);
        takeWriteCommand(args, std::span(&command, 1));
        job = command.prepare(args, CommandContext{fs, clock, systemLocalTime});
    } catch (const ChoiceError& e) {
        return printed(choiceErrorOutcome(e));
    } catch (const CommandRefusal& r) {
        return printed(refusedOutcome(r.message));
    }

    // A running program holds the folder's lock (or, in a folder nobody can write, cannot
    // take it): only then is it asked, so a lone command line never waits on a socket.
    DataDirLock lock(dataDir);
    switch (lock.lock()) {
    case DataDirLock::Result::Locked:
        break;
    case DataDirLock::Result::FolderNotWritable:
        if (const auto answer = handOver(words, dataDir))
            return printed(*answer);
        return printed(refusedOutcome(readOnlyFolderRefusal(dataDir)));
    case DataDirLock::Result::HeldByAnother:
        if (const auto answer = handOver(words, dataDir))
            return printed(*answer);
        // No program answers: another command line writer, queued behind; or a program
        // that holds the folder and does not answer, which the refusal names.
        if (const auto refusal = takeWriteLock(lock, dataDir))
            return printed(refusedOutcome(*refusal));
        break;
    }
    return printed(applyHere(command, job, dataDir, fs, clock));
}

int runWithoutWriting(const std::string& name, Args& args, const FormatSettings& fs,
                      const Clock& clock) {
    for (const WriteCommand& command : allWriteCommands()) {
        if (command.name != std::vector<std::string>{name})
            continue;
        try {
            TaskStore unused(fs, clock);
            WriteTarget target{unused};
            return printed(applyWriteJob(
                command.prepare(args, CommandContext{fs, clock, systemLocalTime}), target));
        } catch (const CommandRefusal& r) {
            return printed(refusedOutcome(r.message));
        }
    }
    throw UsageError{"unknown command: " + name};
}

} // namespace dw::cli
