#include "support/cli_in_process.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

class IcsCli : public ::testing::Test {
protected:
    Result run(const TempDir& data, const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path()).run(args);
    }
    // The real program, in a working folder of its own.
    Result runProgram(const TempDir& data, const std::vector<std::string>& args,
                      const std::string& workingFolder = "/") {
        std::string cmd = "cd " + quoted(workingFolder) + " && LC_ALL=en_US.UTF-8 TZ=UTC " +
                          "XDG_CONFIG_HOME=" + quoted(config.path()) +
                          " DAYWEAVER_DATA=" + quoted(data.path()) + " " + quoted(DAYWEAVER_CLI);
        return runShell(cmd, args);
    }
    std::string ok(const TempDir& data, const std::vector<std::string>& args) {
        const Result r = run(data, args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }
    TempDir first;
    TempDir second;
    TempDir config;
    TempDir files;
};

TEST_F(IcsCli, ExportThenImportIntoAnotherFolder) {
    ok(first, {"add", "2024-03-05", "10:30", "Budget, draft", "--category", "Work", "--alarm"});
    ok(first, {"add", "2024-03-05", "08:00", "Call home", "--done"});
    ok(first, {"todo", "add", "Milk", "--category", "Home"});

    const std::string file = files.file("all.ics");
    // In store order: each added task took its place by its time.
    EXPECT_EQ(ok(first, {"ics", "export", file}), "task\t2024-03-05\t08:00\tCall home\n"
                                                  "task\t2024-03-05\t10:30\tBudget, draft\n"
                                                  "todo\t\t\tMilk\n");
    const std::string text = files.read("all.ics");
    EXPECT_EQ(text.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
    EXPECT_NE(text.find("SUMMARY:Budget\\, draft\r\n"), std::string::npos);

    const std::vector<std::string> import = {"ics",        "import", file,        "--from",
                                             "2024-01-01", "--to",   "2024-12-31"};
    EXPECT_EQ(ok(second, import), "task\t2024-03-05\t08:00\tCall home\n"
                                  "task\t2024-03-05\t10:30\tBudget, draft\n"
                                  "todo\t\t\tMilk\n");
    EXPECT_EQ(ok(second, {"agenda", "2024-03-05"}), ok(first, {"agenda", "2024-03-05"}));
    EXPECT_EQ(ok(second, {"todo"}), "Home\tNo\tMilk\n");

    // Again: everything is there already.
    const Result again = run(second, import);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "");
    EXPECT_NE(again.err.find("3 already there"), std::string::npos) << again.err;

    // Outside the dates nothing comes in.
    TempDir third;
    EXPECT_EQ(ok(third, {"ics", "import", file, "--from", "2025-01-01", "--to", "2025-12-31"}),
              "todo\t\t\tMilk\n");
}

TEST_F(IcsCli, AFileIsNamedFromTheCommandsFolderWhereverItComesAmongTheOptions) {
    files.write("one.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                           "DTSTART:20240305T100000Z\r\nSUMMARY:x\r\nEND:VEVENT\r\n"
                           "END:VCALENDAR\r\n");
    const auto runIn = [this](const std::vector<std::string>& args) {
        return runProgram(first, args, files.path());
    };
    const Result added =
        runIn({"ics", "import", "--from", "2024-01-01", "--to", "2024-12-31", "one.ics"});
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "task\t2024-03-05\t10:00\tx\n");
    // Named in full, as the running program, which has a folder of its own, names it.
    const Result missing = runIn({"ics", "import", "two.ics"});
    EXPECT_EQ(missing.status, 1);
    const auto full = std::filesystem::canonical(files.path()) / "two.ics";
    EXPECT_EQ(missing.err.rfind("dayweaver-cli: " + full.string() + ": ", 0), 0u) << missing.err;
}

TEST_F(IcsCli, RefusalsChangeNothing) {
    files.write("broken.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:x\r\n");
    files.write("good.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                            "DTSTART:20240305T100000\r\nSUMMARY:x\r\nEND:VEVENT\r\n"
                            "END:VCALENDAR\r\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string error;
    } cases[] = {
        {{"ics", "import", files.file("broken.ics")},
         1,
         "The iCalendar file is damaged: it ends before its calendar does."},
        {{"ics", "import", files.file("missing.ics")}, 1, "Cannot read"},
        {{"ics", "import", files.file("good.ics"), "--from", "2000-01-01", "--to", "2030-01-01"},
         1,
         "Date range exceeds 20 years!"},
        {{"ics", "import", files.file("good.ics"), "--from", "2024-13-01"}, 2, "2024-13-01"},
        {{"ics", "sync", files.file("good.ics")}, 2, "unknown ics command: sync"},
    };
    for (const auto& c : cases) {
        const Result r = run(first, c.args);
        EXPECT_EQ(r.status, c.status) << c.args[2];
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(first.file("grid.grd")));

    // The program holds the folder: the import is a writer and waits its turn no longer.
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, first));
    const Result held = runProgram(first, {"ics", "import", files.file("good.ics"), "--from",
                                           "2024-01-01", "--to", "2024-12-31"});
    std::system(("kill " + first.read("holder.pid")).c_str());
    EXPECT_EQ(held.status, 1);
    EXPECT_NE(held.err.find("Dayweaver is running"), std::string::npos) << held.err;
    EXPECT_FALSE(std::filesystem::exists(first.file("grid.grd")));
}

} // namespace
