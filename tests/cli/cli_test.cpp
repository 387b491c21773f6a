#include "cli/command_table.h"
#include "cli/write_lock.h"
#include "platform/data_lock.h"
#include "support/cli_in_process.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using dw::test::TempDir;

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;

// The id of a process that has run and ended (reaped, so no process holds it now).
pid_t endedProcessId() {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    int status = 0;
    if (pid > 0)
        waitpid(pid, &status, 0);
    return pid;
}

// Runs the commands in this process on a data folder (support/cli_in_process.h).
Result runCli(const TempDir& data, const std::vector<std::string>& args) {
    return dw::test::InProcessCli(data.path()).run(args);
}

// Runs the real dayweaver-cli on a data folder, in the en-US locale, with the clock at
// Wednesday 15 March 2000 noon when `fakeNow` is set. `runAs` goes before the program (a
// command that runs it as another user).
Result runProgram(const TempDir& data, const std::vector<std::string>& args, bool fakeNow = true,
                  const std::string& runAs = {}) {
    std::string cmd =
        "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 DAYWEAVER_DATA=" + quoted(data.path()) + " ";
    if (fakeNow)
        cmd += "faketime '2000-03-15 12:00:00' ";
    cmd += runAs;
    cmd += quoted(DAYWEAVER_CLI);
    return runShell(cmd, args);
}

// The real program, end to end: its locale, its clock, its data folder from the environment.
TEST(Cli, AddThenAgendaInStoreOrder) {
    TempDir data;
    EXPECT_EQ(runProgram(data, {"add", "2000-03-20", "14:30", "Dentist\nbring the card",
                                "--category", "Health", "--alarm"})
                  .status,
              0);
    EXPECT_EQ(runProgram(data, {"add", "2000-03-20", "09:05", "Call mum", "--done"}).status, 0);
    EXPECT_EQ(runProgram(data, {"add", "2000-03-21", "09:00", "Next day"}).status, 0);

    const Result r = runProgram(data, {"agenda", "2000-03-20"});
    EXPECT_EQ(r.status, 0) << r.err;
    // Each added task takes its place by its time.
    EXPECT_EQ(r.out, "Mon 3/20/2000  5 days\n"
                     "1\t9:05 AM\t\tYes\tNo\tCall mum\n"
                     "2\t2:30 PM\tHealth\tNo\tYes\tDentist\n");
    // The text keeps its line break as CR LF (written as TAB BS in the file).
    EXPECT_NE(data.read("grid.grd").find("3,2,Dentist\t\bbring the card\r\n"), std::string::npos);

    const Result today = runProgram(data, {"agenda"});
    EXPECT_EQ(today.out, "Wed 3/15/2000  Today\n");
}

TEST(Cli, AgendaNamesTheHoliday) {
    TempDir data;
    data.write("holiday.grd", "4,3\r\n0,1,Christmas Day\r\n1,1,12\r\n2,1,December\r\n3,1,25\r\n"
                              "0,2,Memorial Day\r\n1,2,05\r\n2,2,May\r\n3,2,Last : Monday\r\n");
    const Result r = runCli(data, {"agenda", "2000-12-25"});
    EXPECT_EQ(r.out, "Mon 12/25/2000  9 mons  Christmas Day\n");
    const Result h = runCli(data, {"holidays", "2000"});
    EXPECT_EQ(h.status, 0);
    EXPECT_EQ(h.out, "2000-05-29\tMemorial Day\n2000-12-25\tChristmas Day\n");
}

TEST(Cli, ToDoListAndAdd) {
    TempDir data;
    EXPECT_EQ(runCli(data, {"todo", "add", "Buy milk"}).status, 0);
    EXPECT_EQ(runCli(data, {"todo", "add", "Fix the bike", "--category", "Home"}).status, 0);
    const Result r = runCli(data, {"todo"});
    EXPECT_EQ(r.out, "\tNo\tBuy milk\nHome\tNo\tFix the bike\n");
    // The first task has no category and still keeps its row.
    EXPECT_NE(data.read("gridNon.grd").find("1,1,Buy milk\r\n"), std::string::npos);
}

TEST(Cli, UsageErrorsExitWithTwo) {
    TempDir data;
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"agenda", "15/03/2000"},
        {"agenda", "2000-02-30"},
        {"add", "2000-03-20", "25:00", "x"},
        {"add", "2000-03-20", "9:3", "x"},
        {"add", "2000-03-20", "09:00"},
        {"add", "2000-03-20", "09:00", "   "},
        {"add", "2000-03-20", "09:00", "x", "--category", "a category far longer than twenty"},
        {"todo", "remove"},
        {"holidays", "20x0"},
        {"check", "extra"},
        {"--data"},
    };
    for (const auto& args : bad) {
        const Result r = runCli(data, args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("Usage: dayweaver-cli"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd")));
}

TEST(Cli, TextsMustBeUtf8AndFilesAreReadLineByLine) {
    TempDir data;
    // A stray Windows-1252 byte in an argument is refused before anything is written.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"add", "2000-03-20", "09:00", "M\xfcller"},
          {"add", "2000-03-20", "09:00", "x", "--category", "B\xfcro"},
          {"todo", "add", "caf\xe9"}}) {
        const Result r = runCli(data, args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_NE(r.err.find("not valid UTF-8"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd")));
    EXPECT_FALSE(std::filesystem::exists(data.file("gridNon.grd")));

    // One old line does not spoil the UTF-8 lines around it (2000-03-20 is 36605).
    data.write("grid.grd", "6,3\r\n"
                           "0,1,36605.101\r\n1,1,9:00 AM\r\n3,1,M\xc3\xbcller \xe2\x82\xac\r\n"
                           "4,1,No\r\n5,1,No\r\n"
                           "0,2,36605.102\r\n1,2,10:00 AM\r\n3,2,Caf\xe9\r\n4,2,No\r\n5,2,No\r\n");
    const Result a = runCli(data, {"agenda", "2000-03-20"});
    EXPECT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, "Mon 3/20/2000  5 days\n"
                     "1\t9:00 AM\t\tNo\tNo\tM\xc3\xbcller \xe2\x82\xac\n"
                     "2\t10:00 AM\t\tNo\tNo\tCaf\xc3\xa9\n");

    // A holiday file saved by a text editor starts with a byte-order mark.
    data.write("holiday.grd", "\xEF\xBB\xBF"
                              "4,2\r\n0,1,F\xc3\xaate\r\n1,1,07\r\n2,1,July\r\n"
                              "3,1,14\r\n");
    const Result h = runCli(data, {"holidays", "2000"});
    EXPECT_EQ(h.status, 0) << h.err;
    EXPECT_EQ(h.out, "2000-07-14\tF\xc3\xaate\n");
    EXPECT_EQ(runCli(data, {"check"}).status, 0);
}

TEST(Cli, AnOlderStoreInTextOrderShowsEveryDate) {
    TempDir data;
    // Written by an older version, keys in text order: 1924-08-21 (9000) after 2000.
    data.write("grid.grd", "6,4\r\n"
                           "0,1,36605.101\r\n1,1,9:00 AM\r\n3,1,Spring\r\n4,1,No\r\n5,1,No\r\n"
                           "0,2,45000.101\r\n1,2,9:00 AM\r\n3,2,Later\r\n4,2,No\r\n5,2,No\r\n"
                           "0,3,9000.101\r\n1,3,8:00 AM\r\n3,3,Old task\r\n4,3,Yes\r\n"
                           "5,3,No\r\n");
    const Result r = runCli(data, {"agenda", "1924-08-21"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("8:00 AM\t\tYes\tNo\tOld task\n"), std::string::npos) << r.out;
    EXPECT_NE(runCli(data, {"agenda", "2000-03-20"}).out.find("Spring"), std::string::npos);
}

namespace fs = std::filesystem;

const std::string kAddArgs[] = {"add", "2000-03-20", "09:00", "New task"};

TEST(Cli, SavesGoThroughLinksAndKeepPermissions) {
    TempDir data, synced;
    ASSERT_EQ(runCli(synced, {"add", "2000-03-20", "08:00", "Synced"}).status, 0);
    fs::create_symlink(synced.file("grid.grd"), data.file("grid.grd"));
    fs::permissions(synced.file("grid.grd"), fs::perms::owner_read | fs::perms::owner_write);

    const Result r = runCli(data, {std::begin(kAddArgs), std::end(kAddArgs)});
    EXPECT_EQ(r.status, 0) << r.err;
    // The link is still a link, the file it names has both tasks and is still private.
    EXPECT_TRUE(fs::is_symlink(data.file("grid.grd")));
    const std::string both = synced.read("grid.grd");
    EXPECT_NE(both.find("Synced"), std::string::npos);
    EXPECT_NE(both.find("New task"), std::string::npos);
    EXPECT_EQ(fs::status(synced.file("grid.grd")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    // No temporary file is left in either folder.
    for (const TempDir* d : {&data, &synced})
        for (const auto& e : fs::directory_iterator(d->path()))
            EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

TEST(Cli, AReadOnlyFileIsNotReplaced) {
    TempDir data;
    ASSERT_EQ(runCli(data, {"add", "2000-03-20", "08:00", "Kept"}).status, 0);
    const std::string before = data.read("grid.grd");
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(data.file("grid.grd"), readOnly);

    const Result r = runCli(data, {std::begin(kAddArgs), std::end(kAddArgs)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: Could not save file " + data.file("grid.grd") +
                         ": the file is read-only\n");
    EXPECT_EQ(data.read("grid.grd"), before);
    EXPECT_EQ(fs::status(data.file("grid.grd")).permissions(), readOnly);
}

// A command that runs the program as a user who may not write the folder. Root may write
// anywhere whatever the permission bits say, so there the program runs as "nobody".
std::string unprivileged() {
    if (geteuid() != 0)
        return {};
    if (std::system("setpriv --version > /dev/null 2>&1") != 0)
        return "none";
    return "setpriv --reuid=65534 --regid=65534 --clear-groups ";
}

TEST(Cli, AReadOnlyDataFolderCanBeReadButNotChanged) {
    const std::string runAs = unprivileged();
    if (runAs == "none")
        GTEST_SKIP() << "running as root without setpriv: no user to whom the folder is "
                        "read-only";
    TempDir data;
    ASSERT_EQ(runCli(data, {"add", "2000-03-20", "08:00", "Kept"}).status, 0);
    ASSERT_EQ(runCli(data, {"todo", "add", "Milk"}).status, 0);
    // Readable by all, writable by nobody but root.
    fs::permissions(data.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    if (runAs.empty())
        fs::permissions(data.path(), fs::perms::owner_write, fs::perm_options::remove);
    const std::string store = data.read("grid.grd");

    const Result agenda = runProgram(data, {"agenda", "2000-03-20"}, true, runAs);
    EXPECT_EQ(agenda.status, 0) << agenda.err;
    EXPECT_NE(agenda.out.find("Kept"), std::string::npos) << agenda.out;
    EXPECT_EQ(runProgram(data, {"todo"}, true, runAs).out, "\tNo\tMilk\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{std::begin(kAddArgs), std::end(kAddArgs)},
          {"todo", "add", "Bread"}}) {
        const Result r = runProgram(data, args, true, runAs);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.err, "dayweaver-cli: the data folder " + data.path() +
                             " cannot be written, so nothing can be changed there\n");
    }
    EXPECT_EQ(data.read("grid.grd"), store);
    EXPECT_FALSE(fs::exists(data.file("dayweaver.lock")));
}

// A table file as the program writes it: the dimension line, the widths, five data rows.
std::string wholeTableFile(int cols) {
    std::string bytes = std::to_string(cols) + ",6\r\n";
    for (int c = 0; c < cols; ++c)
        bytes += "cw " + std::to_string(c) + ",64\r\n";
    for (int r = 1; r <= 5; ++r)
        for (int c = 0; c < cols; ++c)
            bytes += std::to_string(c) + "," + std::to_string(r) + "," +
                     (c == 0 ? std::to_string(36600 + r) + ".101" : "row " + std::to_string(r)) +
                     "\r\n";
    return bytes;
}

TEST(Cli, CheckNamesEveryDataFileThatIsEmptyCutShortOrAFolder) {
    const struct {
        const char* name;
        int cols;
    } files[] = {{"grid.grd", 6}, {"gridNon.grd", 3}, {"holiday.grd", 4}, {"gridComp.grd", 6}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const std::string whole = wholeTableFile(f.cols);
        const std::string dimension = std::to_string(f.cols) + ",6\r\n";
        const struct {
            const char* what;
            std::string bytes;
            bool folder = false;
        } cases[] = {
            {"0-byte", ""},
            {"cut in a row", whole.substr(0, whole.find("row 3") + 4)},
            {"cut in the header", whole.substr(0, whole.find("cw 1,") + 4)},
            {"cut exactly at a line end", whole.substr(0, whole.find("\r\n0,2,") + 2)},
            {"a dimension larger than the rows",
             std::to_string(f.cols) + ",11\r\n" + whole.substr(dimension.size())},
            {"a folder in the file's place", "", true},
        };
        TempDir data;
        data.write(f.name, whole);
        Result r = runCli(data, {"check"});
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_EQ(r.out, std::string(f.name) + ": ok, 5 data rows\n");
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            fs::remove_all(data.file(f.name));
            if (c.folder)
                fs::create_directory(data.file(f.name));
            else
                data.write(f.name, c.bytes);
            r = runCli(data, {"check"});
            if (std::string(f.name) == "gridNon.grd" && !c.folder && c.bytes.empty()) {
                // An empty to-do file is an empty to-do list.
                EXPECT_EQ(r.status, 0) << r.out;
                EXPECT_EQ(r.out, "gridNon.grd: ok, 1 data rows\n");
                continue;
            }
            EXPECT_EQ(r.status, 1) << r.out;
            EXPECT_EQ(r.out.rfind(std::string(f.name) + ": File ", 0), 0u) << r.out;
            EXPECT_NE(r.out.find(data.file(f.name)), std::string::npos) << r.out;
            // Looked at, not touched.
            if (!c.folder) {
                EXPECT_EQ(data.read(f.name), c.bytes);
            }
            EXPECT_FALSE(fs::exists(data.file(std::string(f.name) + ".damaged")));
        }
    }
}

TEST(Cli, ADataFileThatIsAFolderIsAnError) {
    TempDir data;
    fs::create_directory(data.file("grid.grd"));
    const Result c = runCli(data, {"check"});
    EXPECT_EQ(c.status, 1);
    EXPECT_EQ(c.out,
              "grid.grd: File " + data.file("grid.grd") + " cannot be read: Is a directory\n");
    const Result a = runCli(data, {"agenda", "2000-03-20"});
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.out, "");
    EXPECT_NE(a.err.find("cannot be read"), std::string::npos) << a.err;
    EXPECT_EQ(runCli(data, {std::begin(kAddArgs), std::end(kAddArgs)}).status, 1);
    EXPECT_TRUE(fs::is_directory(data.file("grid.grd")));
}

TEST(Cli, DamagedFileIsADataProblemAndIsLeftAlone) {
    TempDir data;
    data.write("grid.grd", "0,1\r\n");
    data.write("gridNon.grd", "3,2\r\n1,1,fine\r\n");
    const Result a = runCli(data, {"add", "2000-03-20", "09:00", "x"});
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.err, "dayweaver-cli: File contains no data or corrupt file " +
                         data.file("grid.grd") + "\n");
    EXPECT_EQ(data.read("grid.grd"), "0,1\r\n");

    const Result c = runCli(data, {"check"});
    EXPECT_EQ(c.status, 1);
    EXPECT_EQ(c.out, "grid.grd: File contains no data or corrupt file " + data.file("grid.grd") +
                         "\ngridNon.grd: ok, 1 data rows\n");
    EXPECT_EQ(runCli(data, {"agenda", "2000-03-20"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd.damaged")));
}

TEST(Cli, WritingCommandsRespectTheProgramsLock) {
    TempDir data;
    // Another process holds the lock, as the running program does.
    ASSERT_TRUE(dw::test::startLockHolder(DAYWEAVER_LOCK_HOLDER, data));

    const Result add = runProgram(data, {"todo", "add", "x"}, false);
    const Result dated = runProgram(data, {"add", "2000-03-20", "09:00", "x"}, false);
    const Result read = runProgram(data, {"todo"}, false);
    std::system(("kill " + data.read("holder.pid")).c_str());

    for (const Result* r : {&add, &dated}) {
        EXPECT_EQ(r->status, 1);
        EXPECT_NE(r->err.find("Dayweaver is running"), std::string::npos) << r->err;
    }
    EXPECT_FALSE(std::filesystem::exists(data.file("gridNon.grd")));
    EXPECT_FALSE(std::filesystem::exists(data.file("grid.grd")));
    EXPECT_EQ(read.status, 0); // reading needs no lock
}

TEST(Cli, StaleLockOfAnEndedProcessIsTakenOver) {
    TempDir data;
    const pid_t ended = endedProcessId();
    ASSERT_GT(ended, 0);
    data.write("dayweaver.lock", std::to_string(ended) + "\ndayweaver\n\n");
    EXPECT_EQ(runProgram(data, {"todo", "add", "x"}).status, 0);
    // A process killed right after making the lock file leaves it empty; once it is a few
    // seconds old it is nobody's.
    data.write("dayweaver.lock", "");
    fs::last_write_time(data.file("dayweaver.lock"),
                        fs::file_time_type::clock::now() - std::chrono::minutes(1));
    EXPECT_EQ(runProgram(data, {"todo", "add", "y"}, false).status, 0);
}

// A lock being made now is waited for, as command-line writers queue; once it is old
// enough to be nobody's it is taken over. The age is the lock's to say: short here.
TEST(Cli, ANamelessLockBeingMadeIsWaitedForThenTakenOver) {
    TempDir data;
    data.write("dayweaver.lock", "");
    dw::DataDirLock lock(data.path(), 300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(dw::cli::takeWriteLock(lock, data.path(), 10000), std::nullopt);
    EXPECT_TRUE(lock.isLocked());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
}

TEST(Cli, HelpAndVersion) {
    TempDir data;
    const Result h = runProgram(data, {"--help"}, false);
    EXPECT_EQ(h.status, 0);
    EXPECT_EQ(h.out, dw::cli::usageText());
    EXPECT_EQ(runProgram(data, {"--version"}, false).out.rfind("dayweaver-cli ", 0), 0u);
}

} // namespace

namespace dw {
namespace {

TEST(Cli, ConcurrentWritersQueueOnTheLock) {
    TempDir data;
    std::vector<std::thread> writers;
    std::vector<Result> results(5);
    for (int i = 0; i < 5; ++i)
        writers.emplace_back([&, i] {
            results[static_cast<size_t>(i)] =
                i % 2 ? runProgram(data, {"todo", "add", "Todo " + std::to_string(i)}, false)
                      : runProgram(data,
                                   {"add", "2000-03-20", "09:0" + std::to_string(i),
                                    "Task " + std::to_string(i)},
                                   false);
        });
    for (auto& w : writers)
        w.join();
    for (const Result& r : results)
        EXPECT_EQ(r.status, 0) << r.err;
    const std::string agenda = runProgram(data, {"agenda", "2000-03-20"}).out;
    const std::string todo = runProgram(data, {"todo"}).out;
    for (int i = 0; i < 5; ++i) {
        const std::string text = (i % 2 ? "Todo " : "Task ") + std::to_string(i);
        EXPECT_NE((i % 2 ? todo : agenda).find(text), std::string::npos) << text;
    }
}

} // namespace
} // namespace dw
