// A task added from the command line takes its place among the date's tasks by its time.
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/store/task_store.h"
#include "support/cli_in_process.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::Result;
using dw::test::TempDir;

const int kDay = dw::dateSerialOf(2000, 3, 20);

Result runCli(const TempDir& data, const std::vector<std::string>& args) {
    return dw::test::InProcessCli(data.path()).run(args);
}

// The texts of the agenda's task lines, in order.
std::vector<std::string> agendaTexts(const TempDir& data) {
    const Result r = runCli(data, {"agenda", "2000-03-20"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> texts;
    std::size_t start = r.out.find('\n') + 1; // after the date's heading
    while (start < r.out.size()) {
        const std::size_t end = r.out.find('\n', start);
        const std::string line = r.out.substr(start, end - start);
        texts.push_back(line.substr(line.rfind('\t') + 1));
        start = end + 1;
    }
    return texts;
}

TEST(TimeOrderCli, AddPutsTheTaskBeforeTheFirstLaterOne) {
    struct Case {
        const char* time;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"00:00", {"party", "new", "nine", "one", "five"}},
        {"09:30", {"party", "nine", "new", "one", "five"}},
        {"12:00", {"party", "nine", "new", "one", "five"}},
        {"14:00", {"party", "nine", "one", "new", "five"}},
        {"23:59", {"party", "nine", "one", "five", "new"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        TempDir data;
        const dw::FormatSettings fs = dw::FormatSettings::enUS();
        ASSERT_TRUE(
            dw::test::saveDataRows(dw::makeGridStore(fs),
                                   {{dw::storeKey(kDay, 101), "All day", "", "party", "No", "No"},
                                    {dw::storeKey(kDay, 102), "9:00 AM", "", "nine", "No", "No"},
                                    {dw::storeKey(kDay, 103), "1:00 PM", "", "one", "No", "No"},
                                    {dw::storeKey(kDay, 104), "5:00 PM", "", "five", "No", "No"}},
                                   data.file("grid.grd")));
        const Result add = runCli(data, {"add", "2000-03-20", c.time, "new"});
        ASSERT_EQ(add.status, 0) << add.err;
        EXPECT_EQ(agendaTexts(data), c.expected);
    }
}

} // namespace
