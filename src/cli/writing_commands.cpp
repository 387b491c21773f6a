#include "cli/writing_commands.h"

#include "cli/write_lock.h"
#include "core/output/completed_tasks.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
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
    std::cout << outcome.out << std::flush;
    std::cerr << outcome.err << std::flush;
    return outcome.status;
}

std::optional<CommandOutcome> handOver(const WriteCommand& command, std::vector<std::string> words,
                                       const std::string& dataDir) {
    // The program has a working folder of its own: a file is named to it in full.
    const size_t file = command.name.size();
    if (command.fileArgument && file < words.size()) {
        std::error_code error; // no working folder left: the name goes as typed
        const std::filesystem::path full = std::filesystem::absolute(words[file], error);
        if (!error)
            words[file] = full.lexically_normal().string();
    }
    return SingleInstance::sendCommand(SingleInstance::serverNameFor(dataDir), words, kConnectMs,
                                       kAnswerMs);
}

// Applies the job here: the folder is ours while `lock` is held.
CommandOutcome applyHere(const WriteCommand& command, const WriteJob& job,
                         const std::string& dataDir, const FormatSettings& fs, const Clock& clock) {
    TaskStore store(fs, clock);
    store.setDataDir(dataDir);
    CompletedTasks completed(dataDir);
    // A file that cannot be read stops the command before anything is written, so nothing
    // is lost and no copy of the damaged file is needed.
    try {
        if (command.tables.store)
            store.loadStoreFile(false);
        if (command.tables.todo)
            store.loadTodoFile(false);
        if (command.tables.completed)
            loadTableIfPresent(completed.table(), completed.path(), false);
    } catch (const TableFileError& e) {
        return refusedOutcome(e.what());
    }
    return applyWriteJob(job, store, &completed);
}

} // namespace

int runWritingCommand(const WriteCommand& command, Args& args,
                      const std::vector<std::string>& words, const std::string& dataDir,
                      const FormatSettings& fs, const Clock& clock) {
    WriteJob job;
    try {
        job = command.prepare(args, fs);
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
        if (const auto answer = handOver(command, words, dataDir))
            return printed(*answer);
        return printed(refusedOutcome(readOnlyFolderRefusal(dataDir)));
    case DataDirLock::Result::HeldByAnother:
        if (const auto answer = handOver(command, words, dataDir))
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
    for (const WriteCommand& command : writeCommands()) {
        if (command.name != std::vector<std::string>{name})
            continue;
        try {
            TaskStore unused(fs, clock);
            return printed(applyWriteJob(command.prepare(args, fs), unused));
        } catch (const CommandRefusal& r) {
            return printed(refusedOutcome(r.message));
        }
    }
    throw UsageError{"unknown command: " + name};
}

} // namespace dw::cli
