#include "cli/find_command.h"

#include "cli/alarms_command.h"
#include "cli/store_loading.h"
#include "core/calendar/find.h"
#include "core/commands/listing_text.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"

#include <iostream>

namespace dw::cli {

int findCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                const Clock& clock, const SettingsStore& settings) {
    FindQuery query;
    query.wholeWord = args.takeFlag("--whole-word");
    query.matchCase = args.takeFlag("--match-case");
    query.down = !args.takeFlag("--up");
    const bool filtered = args.takeFlag("--filter");
    query.text = args.requirePositional("TEXT");
    args.expectEnd();
    if (!isValidUtf8(query.text))
        throw UsageError{"a text is not valid UTF-8"};
    if (query.text.empty())
        throw UsageError{"the text to find is empty"};

    TaskStore store(fs, clock);
    if (const auto failure = cli::loadDatedTasks(store, dataDir)) {
        std::cerr << "dayweaver-cli: " << *failure << '\n';
        return 1;
    }
    FilterState filter;
    if (filtered)
        useSavedFilter(store, filter, dataDir, settings);

    // The dialog's own steps, from opening it until the search comes round: each task is
    // met once.
    FindSearch search;
    search.open();
    const CellTable& s = store.gridStore();
    int found = 0;
    while (const auto hit = search.findNext(store, query)) {
        std::cout << isoDate(hit->date) << '\t'
                  << visibleField(s.cellView(StoreCol::Time, hit->row)) << '\t'
                  << visibleField(firstLine(s.cellView(StoreCol::What, hit->row))) << '\n';
        ++found;
    }
    if (found == 0) {
        std::cerr << "dayweaver-cli: Could not find \"" << visibleField(query.text)
                  << "\" in any calendar task.\n";
        return 1;
    }
    return 0;
}

} // namespace dw::cli
