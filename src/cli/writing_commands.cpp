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
#include <optional>
#include <ostream>

namespace dw::cli {

namespace {

// A moment for the program to accept the connection, and time enough for it to apply the
// command and save (a large store takes a fraction of a second).
constexpr int kConnectMs = 2000;
constexpr int kAnswerMs = 30000;

int printed(const CommandRun& run, const CommandOutcome& outcome) {
    // Whoever made the outcome (this command or a running program of another version), no
    // raw control character reaches the terminal.
    run.out << withoutRawControls(outcome.out) << std::flush;
    run.err << withoutRawControls(outcome.err) << std::flush;
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

// The command of the table the words name, whether these arguments write or not.
const WriteCommand* writeCommandNamed(Args& args) {
    for (const WriteCommand& command : allWriteCommands()) {
        WriteCommand always = command;
        always.writes = nullptr;
        if (takeWriteCommand(args, std::span(&always, 1)))
            return &command;
    }
    return nullptr;
}

int runWritingCommand(const WriteCommand& command, CommandRun& run) {
    const std::vector<std::string> words = withFullFileName(command, run.words);
    const CommandContext context{run.fs, run.clock, run.toLocal};
    WriteJob job;
    try {
        Args args(words);
        takeWriteCommand(args, std::span(&command, 1));
        job = command.prepare(args, context);
    } catch (const ChoiceError& e) {
        return printed(run, choiceErrorOutcome(e));
    } catch (const CommandRefusal& r) {
        return printed(run, refusedOutcome(r.message));
    }

    // A running program holds the folder's lock (or, in a folder nobody can write, cannot
    // take it): only then is it asked, so a lone command line never waits on a socket.
    DataDirLock lock(run.dataDir);
    switch (lock.lock()) {
    case DataDirLock::Result::Locked:
        break;
    case DataDirLock::Result::FolderNotWritable:
        if (const auto answer = handOver(words, run.dataDir))
            return printed(run, *answer);
        return printed(run, refusedOutcome(readOnlyFolderRefusal(run.dataDir)));
    case DataDirLock::Result::HeldByAnother:
        if (const auto answer = handOver(words, run.dataDir))
            return printed(run, *answer);
        // No program answers: another command line writer, queued behind; or a program
        // that holds the folder and does not answer, which the refusal names.
        if (const auto refusal = takeWriteLock(lock, run.dataDir))
            return printed(run, refusedOutcome(*refusal));
        break;
    }
    return printed(run, applyHere(command, job, run.dataDir, run.fs, run.clock));
}

int runWithoutWriting(const WriteCommand& command, Args& args, CommandRun& run) {
    try {
        TaskStore unused(run.fs, run.clock);
        WriteTarget target{unused};
        return printed(run, applyWriteJob(command.prepare(
                                              args, CommandContext{run.fs, run.clock, run.toLocal}),
                                          target));
    } catch (const CommandRefusal& r) {
        return printed(run, refusedOutcome(r.message));
    }
}

} // namespace

int writingCommand(CommandRun& run) {
    Args args(run.words);
    if (const WriteCommand* writing = takeWriteCommand(args, allWriteCommands()))
        return runWritingCommand(*writing, run);
    if (const WriteCommand* reading = writeCommandNamed(args))
        return runWithoutWriting(*reading, args, run);
    throw UsageError{"unknown command: " + run.words.front()};
}

} // namespace dw::cli
