#include "cli/find_command.h"

#include "cli/alarms_command.h"
#include "cli/store_loading.h"
#include "core/calendar/find.h"
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"

#include <ostream>

namespace dw::cli {

int findCommand(CommandRun& run) {
    FindQuery query;
    query.wholeWord = run.args.flag("--whole-word");
    query.matchCase = run.args.flag("--match-case");
    query.down = !run.args.flag("--up");
    const bool filtered = run.args.flag("--filter");
    query.text = *run.args.positional(0);
    if (!isValidUtf8(query.text))
        throw UsageError{"a text is not valid UTF-8"};
    if (query.text.empty())
        throw UsageError{"the text to find is empty"};

    TaskStore store(run.fs, run.clock);
    if (const auto failure = cli::loadDatedTasks(store, run.dataDir)) {
        run.err << "dayweaver-cli: " << *failure << '\n';
        return 1;
    }
    FilterState filter;
    if (filtered)
        useSavedFilter(store, filter, run.dataDir, run.settings);

    // The dialog's own steps, from opening it until the search comes round: each task is
    // met once.
    FindSearch search;
    search.open();
    const CellTable& s = store.gridStore();
    int found = 0;
    while (const auto hit = search.findNext(store, query)) {
        run.out << isoDate(hit->date) << '\t' << visibleField(s.cellView(StoreCol::Time, hit->row))
                << '\t' << visibleField(firstLine(s.cellView(StoreCol::What, hit->row))) << '\n';
        ++found;
    }
    if (found == 0) {
        run.err << "dayweaver-cli: Could not find \"" << visibleField(query.text)
                << "\" in any calendar task.\n";
        return 1;
    }
    return 0;
}

} // namespace dw::cli
