#include "cli/archive_command.h"

#include "core/commands/command_args.h"
#include "core/output/completed_tasks.h"
#include "core/store/archive.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"

#include <ostream>
#include <vector>

namespace dw::cli {

namespace {

// Why the command stops: each message goes to stderr, status 1.
struct Failure {
    std::vector<std::string> messages;
};

int report(std::ostream& err, const Failure& f) {
    for (const std::string& m : f.messages)
        err << "dayweaver-cli: " << m << '\n';
    return 1;
}

std::string archiveName(const ParsedArgs& args) {
    std::string name = withArchiveExtension(*args.positional(0));
    if (const auto problem = archiveNameProblem(name))
        throw UsageError{*problem};
    return name;
}

} // namespace

int archiveCommand(CommandRun& run) {
    const std::string name = archiveName(run.args);
    try {
        TaskStore store(run.fs, run.clock);
        store.setDataDir(run.dataDir);
        CompletedTasks completed(run.dataDir);
        // A file that cannot be read stops the command: an archive without it would look
        // whole and restore as an empty table.
        try {
            store.loadStoreFile(false);
            store.loadTodoFile(false);
            loadTableIfPresent(completed.table(), completed.path(), false);
        } catch (const TableFileError& e) {
            throw Failure{{e.what()}};
        }
        const ArchiveResult result =
            writeArchive(name, store.gridStore(), store.gridNonday(), completed.table());
        if (!result.ok)
            throw Failure{result.problems};
        run.out << result.names.main << '\n'
                << result.names.todo << '\n'
                << result.names.completed << '\n';
        return 0;
    } catch (const Failure& f) {
        return report(run.err, f);
    }
}

} // namespace dw::cli
