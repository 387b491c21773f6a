// The command line beside the running program: its writing commands are handed to the
// program, which applies them as its own and answers what the command line prints.

#include "app/holidays/holiday_list_dialog.h"
#include "app/shell/command_server.h"
#include "app/task_window_fixture.h"
#include "app/widgets/shadow_label.h"
#include "core/store/save_guard.h"
#include "platform/data_lock.h"
#include "platform/single_instance.h"

#include <QDate>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Puts the socket and the start-up lock in a private folder of the test's own, for this
// process and the processes it starts.
class PrivateRuntimeDir {
public:
    PrivateRuntimeDir() : old_(qgetenv("XDG_RUNTIME_DIR")) {
        ::chmod(dir_.path().c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir_.path()));
    }
    ~PrivateRuntimeDir() { qputenv("XDG_RUNTIME_DIR", old_); }

private:
    TempDir dir_;
    QByteArray old_;
};

// Runs the real dayweaver-cli on `data` in the en-US locale while this thread's event loop
// goes on, so that a program in this process can answer it.
CliRun runCli(const std::string& data, const QStringList& args, const QString& workDir = {}) {
    QProcess cli;
    if (!workDir.isEmpty())
        cli.setWorkingDirectory(workDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "en_US.UTF-8");
    env.insert("LANG", "en_US.UTF-8");
    // Zoned times of a calendar file become local ones: the program in these tests takes
    // them as UTC too.
    env.insert("TZ", "UTC");
    env.insert("DAYWEAVER_DATA", QString::fromStdString(data));
    cli.setProcessEnvironment(env);
    cli.start(DAYWEAVER_CLI, args);
    EXPECT_TRUE(cli.waitForStarted(10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cli.state() == QProcess::NotRunning; }, 30000));
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            cli.readAllStandardOutput().toStdString(), cli.readAllStandardError().toStdString()};
}

void expectSameAs(const CliRun& handedOver, const CliRun& alone) {
    EXPECT_EQ(handedOver.status, alone.status);
    EXPECT_EQ(handedOver.out, alone.out);
    EXPECT_EQ(handedOver.err, alone.err);
}

std::vector<std::string> dayViewTexts(MainWindow& w) {
    std::vector<std::string> texts;
    const CellTable& day = w.gridDay()->table();
    for (int r = 1; r < day.rowCount(); ++r)
        texts.push_back(day.cell(DayCol::What, r));
    return texts;
}

// In the process: the window, its single-instance server and the command server, as the
// program wires them at start-up.
class HandOverTest : public test::TaskWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::saveDataRows(makeGridStore(FormatSettings::enUS()),
                                       {{"36526.101", "8:00 AM", "", "Pack", "No", "No"}},
                                       dir_.file("grid.grd")));
        state_->store().loadStoreFile();
        shown();
        ASSERT_EQ(instance_.start(1000, 500, 0), SingleInstance::Start::Proceed);
        instance_.finishStartup();
        instance_.setCommandHandler(
            [this](const std::vector<std::string>& words) { return server_->run(words); });
        server_ = &composition().commandServer();
        server_->setLocalTime([](std::int64_t utcSeconds) {
            return dateSerialOf(1970, 1, 1) + utcSeconds / 86400.0;
        });
    }

    PrivateRuntimeDir runtime_;
    SingleInstance instance_{dir_.path()};
    CommandServer* server_ = nullptr;
};

TEST_F(HandOverTest, WritingCommandsAreAppliedByTheProgramAndPrintAsAlone) {
    TempDir alone;
    // An edit in progress in the notes pane is kept.
    window().gridDay()->selectTableRow(1);
    window().notesPane()->setFocus();
    window().notesPane()->moveCursor(QTextCursor::End);
    window().notesPane()->insertPlainText(" the bags");

    const QStringList commands[] = {
        {"add", "2000-01-01", "07:30", "Early train", "--alarm"},
        {"todo", "add", "Water the plants", "--category", "Home"},
        {"recur", "2000-01-01", "2000-01-03", "daily", "--add", "18:00", "Walk"},
        {"add", "2000-01-01", "7:60", "bad time"},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        expectSameAs(runCli(dir_.path(), args), runCli(alone.path(), args));
    }

    // The day view, the to-do list and the files show the commands' tasks, each put in its
    // place among the day's tasks by its time.
    EXPECT_EQ(dayViewTexts(window()),
              (std::vector<std::string>{"Early train", "Pack the bags", "Walk"}));
    EXPECT_EQ(test::rowsOf(window().gridNonday()->table()), test::Rows{"Home|Water the plants|No"});
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")),
              (test::Rows{"36526.101|7:30 AM||Early train|No|Yes",
                          "36526.102|8:00 AM||Pack the bags|No|No", "36526.103|6:00 PM||Walk|No|No",
                          "36527.101|6:00 PM||Walk|No|No", "36528.101|6:00 PM||Walk|No|No"}));
    EXPECT_EQ(test::fileRows(dir_.file("gridNon.grd")), test::Rows{"Home|Water the plants|No"});
    EXPECT_EQ(test::fileRows(alone.file("gridNon.grd")), test::Rows{"Home|Water the plants|No"});

    // A later change in the window writes the day view back: the handed-over tasks stay.
    window().gridDay()->selectTableRow(1);
    composition().taskCommands().toggleAlarm();
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")).size(), 5u);
}

// edit, done and delete name a task by its number in `agenda`: the program finds the same
// task, changes its day view and files, and answers as the command line alone does.
TEST_F(HandOverTest, TheSelectionStaysOnTheTaskThatWasSelected) {
    // "Pack" at 8:00 AM is selected; tasks handed over land before it and after it.
    window().gridDay()->selectTableRow(1);
    const struct {
        QStringList args;
        std::vector<std::string> day;
    } steps[] = {
        {{"add", "2000-01-01", "07:00", "Early"}, {"Early", "Pack"}},
        {{"add", "2000-01-01", "21:00", "Late"}, {"Early", "Pack", "Late"}},
        {{"add", "2000-01-01", "06:00", "Earlier"}, {"Earlier", "Early", "Pack", "Late"}},
        {{"todo", "add", "Milk"}, {"Earlier", "Early", "Pack", "Late"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.args.join(' ').toStdString());
        ASSERT_EQ(runCli(dir_.path(), step.args).status, 0);
        EXPECT_EQ(dayViewTexts(window()), step.day);
        const int row = window().gridDay()->selectedRow();
        EXPECT_EQ(window().gridDay()->table().cell(DayCol::What, row), "Pack");
    }
    // Deleted by the command: the selection stays on its row, as far as there is one.
    ASSERT_EQ(runCli(dir_.path(), {"delete", "2000-01-01", "3"}).status, 0);
    EXPECT_EQ(window().gridDay()->selectedRow(), 3);
    EXPECT_EQ(window().gridDay()->table().cell(DayCol::What, 3), "Late");
}

TEST_F(HandOverTest, TasksAddressedByNumberChangeTheProgramsDayViewAndFiles) {
    TempDir alone;
    ASSERT_TRUE(test::saveDataRows(makeGridStore(FormatSettings::enUS()),
                                   {{"36526.101", "8:00 AM", "", "Pack", "No", "No"}},
                                   alone.file("grid.grd")));
    const QStringList commands[] = {
        {"add", "2000-01-01", "07:30", "Early train"}, // numbered 1, before Pack
        {"edit", "2000-01-01", "2", "--text", "Pack the bags", "--alarm", "on"},
        {"done", "2000-01-01", "1"},
        {"done", "2000-01-01", "1"},   // already done: refused
        {"delete", "2000-01-01", "3"}, // no such task: refused
        {"agenda", "2000-01-01"},
    };
    std::vector<std::string> printed;
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun handed = runCli(dir_.path(), args);
        expectSameAs(handed, runCli(alone.path(), args));
        printed.push_back(handed.out);
    }
    // Each change prints the task as it now stands, as agenda lists it.
    EXPECT_EQ(printed[1], "2\t8:00 AM\t\tNo\tYes\tPack the bags\n");
    EXPECT_EQ(printed[2], "1\t7:30 AM\t\tYes\tNo\tEarly train\n");
    EXPECT_EQ(printed[3], "");
    EXPECT_EQ(dayViewTexts(window()), (std::vector<std::string>{"Early train", "Pack the bags"}));
    EXPECT_EQ(window().gridDay()->table().cell(DayCol::Done, 1), "Yes");
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")),
              (test::Rows{"36526.101|7:30 AM||Early train|Yes|No",
                          "36526.102|8:00 AM||Pack the bags|No|Yes"}));
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")), test::fileRows(alone.file("grid.grd")));
    // The completion is in the program's own table as well as in its file.
    EXPECT_NE(dir_.read("gridComp.grd").find("Early train"), std::string::npos);
    EXPECT_EQ(state_->completedTasks().table().cell(CompCol::What, 1), "Early train");

    const QStringList remove{"delete", "2000-01-01", "1"};
    const CliRun removed = runCli(dir_.path(), remove);
    expectSameAs(removed, runCli(alone.path(), remove));
    EXPECT_EQ(removed.out, "1\t7:30 AM\t\tYes\tNo\tEarly train\n");
    EXPECT_EQ(dayViewTexts(window()), std::vector<std::string>{"Pack the bags"});
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")),
              test::Rows{"36526.102|8:00 AM||Pack the bags|No|Yes"});
}

TEST_F(HandOverTest, ImportsAreAppliedByTheProgramAndPrintAsAlone) {
    TempDir alone, files;
    files.write("trip.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                            "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20000101T150000Z\r\n"
                            "SUMMARY:Ferry\r\nEND:VEVENT\r\n"
                            "BEGIN:VTODO\r\nUID:2\r\nSUMMARY:Book seats\r\nEND:VTODO\r\n"
                            "END:VCALENDAR\r\n");
    const QString work = QString::fromStdString(files.path());
    const QStringList commands[] = {
        {"holidays", "import", "Australia", "Jan01", "Boxing Day"},
        // The file named from the command's folder, after the options.
        {"ics", "import", "--from", "1999-12-01", "--to", "2000-12-31", "trip.ics"},
        {"ics", "import", "trip.ics", "--from", "1999-12-01", "--to", "2000-12-31"},
        {"ics", "import", "gone.ics"},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun handed = runCli(dir_.path(), args, work);
        expectSameAs(handed, runCli(alone.path(), args, work));
        if (args.contains("gone.ics")) {
            EXPECT_EQ(handed.err.find("dayweaver-cli: " +
                                      (fs::canonical(files.path()) / "gone.ics").string() + ": "),
                      0u)
                << handed.err;
        }
    }

    // The day view, the date's caption, the to-do list and the files.
    EXPECT_EQ(dayViewTexts(window()), (std::vector<std::string>{"Pack", "Ferry"}));
    EXPECT_NE(window().dateCaption()->text().toStdString().find("New Year's Day"),
              std::string::npos)
        << window().dateCaption()->text().toStdString();
    EXPECT_EQ(test::rowsOf(window().gridNonday()->table()), test::Rows{"|Book seats|No"});
    EXPECT_EQ(dir_.read("holiday.grd"), alone.read("holiday.grd"));
    // The to-do list's column widths are the window's own.
    EXPECT_EQ(test::fileRows(dir_.file("gridNon.grd")), test::fileRows(alone.file("gridNon.grd")));
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")),
              (test::Rows{"36526.101|8:00 AM||Pack|No|No", "36526.102|3:00 PM||Ferry|No|No"}));
    EXPECT_EQ(test::fileRows(alone.file("grid.grd")), test::Rows{"36526.101|3:00 PM||Ferry|No|No"});
}

TEST_F(HandOverTest, UnknownHolidayChoicesAnsweredByTheProgramListTheValidOnes) {
    TempDir alone;
    const std::vector<std::string> cases[] = {
        {"holidays", "import", "Narnia", "--all"},
        {"holidays", "import", "Norway", "Juledag", "Midsummer"},
    };
    for (const auto& words : cases) {
        SCOPED_TRACE(words[3]);
        QStringList args;
        for (const std::string& w : words)
            args << QString::fromStdString(w);
        const CliRun lone = runCli(alone.path(), args);
        ASSERT_EQ(lone.status, 2);
        ASSERT_NE(lone.err.find("Choose one of:\n"), std::string::npos) << lone.err;
        // Read by the program as if the command line had not checked them first.
        const CommandOutcome handed = server_->run(words);
        EXPECT_EQ(handed.status, lone.status);
        EXPECT_EQ(handed.out, lone.out);
        EXPECT_EQ(handed.err, lone.err);
        expectSameAs(runCli(dir_.path(), args), lone);
    }
    EXPECT_FALSE(fs::exists(dir_.file("holiday.grd")));
}

TEST_F(HandOverTest, AnOpenHolidayListShowsTheImportOrKeepsItsUnsavedChanges) {
    HolidayListDialog list(state_->fs(), state_->clock(), state_->holidayPath(), false, prompts_,
                           &window());
    list.show();

    CommandOutcome r = server_->run({"holidays", "import", "Australia", "Jan01"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::rowsOf(list.table()), test::Rows{"New Year's Day|01|January|1"});

    // A change in the list not saved yet: the import would be lost when the list saves.
    list.grid()->selectTableRow(1);
    list.deleteHoliday();
    const std::string before = dir_.read("holiday.grd");
    r = server_->run({"holidays", "import", "Australia", "Boxing Day"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: the holiday list is open in Dayweaver with changes not "
                     "saved; close it and try again\n");
    EXPECT_EQ(dir_.read("holiday.grd"), before);

    // Saved and closed: the import goes in, after what the list saved.
    list.saveAndClose();
    r = server_->run({"holidays", "import", "Australia", "Boxing Day"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::fileRows(dir_.file("holiday.grd")), test::Rows{"Boxing Day|12|December|26"});
}

TEST_F(HandOverTest, RestoreIsAppliedByTheProgramWithTheFileNamedFromTheCommandsFolder) {
    TempDir other, archives;
    ASSERT_EQ(runCli(other.path(), {"add", "2000-01-01", "10:00", "From the archive"}).status, 0);
    ASSERT_EQ(
        runCli(other.path(), {"archive", QString::fromStdString(archives.file("backup"))}).status,
        0);

    // A name the program could not find from its own working folder, and a missing archive,
    // answered as the command line alone answers it.
    TempDir alone;
    const QStringList missing{"restore", "no-such-backup.arb"};
    expectSameAs(runCli(dir_.path(), missing, QString::fromStdString(archives.path())),
                 runCli(alone.path(), missing, QString::fromStdString(archives.path())));
    EXPECT_EQ(dayViewTexts(window()), std::vector<std::string>{"Pack"});

    const CliRun restored =
        runCli(dir_.path(), {"restore", "backup"}, QString::fromStdString(archives.path()));
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(dayViewTexts(window()), std::vector<std::string>{"From the archive"});
    EXPECT_EQ(test::fileRows(dir_.file("grid.grd")),
              test::Rows{"36526.101|10:00 AM||From the archive|No|No"});
}

TEST_F(HandOverTest, AProgramThatCannotWriteItsFolderAnswersWithTheReadOnlyRefusal) {
    setReadOnlyDataFolder(dir_.path());
    const CliRun r = runCli(dir_.path(), {"todo", "add", "x"});
    clearSaveRefusals();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: the data folder " + dir_.path() +
                         " cannot be written, so nothing can be changed there\n");
    EXPECT_FALSE(fs::exists(dir_.file("gridNon.grd")));
}

// The folder is held by a process whose socket's place holds a planted file: nobody
// answers, so the command line takes the lock path, which names the program holding it.
TEST(HandOver, NoAnswerOnTheSocketFallsBackToTheLock) {
    PrivateRuntimeDir runtime;
    TempDir data;
    DataDirLock holder(data.path());
    ASSERT_TRUE(holder.tryLock());
    std::ofstream(SingleInstance::serverNameFor(data.path()).toStdString()) << "ok\n";

    const CliRun r = runCli(data.path(), {"add", "2000-01-01", "09:00", "x"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "dayweaver-cli: Dayweaver is running with the data folder " + data.path() +
                         "; close it before changing tasks from the command line\n");
    EXPECT_FALSE(fs::exists(data.file("grid.grd")));
}

// The real program, started offscreen as a desktop session would start it.
TEST(HandOver, TheRealProgramTakesTheCommandLinesTasksAndKeepsThemAtItsEnd) {
    PrivateRuntimeDir runtime;
    TempDir data, config, alone;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("DAYWEAVER_DATA", QString::fromStdString(data.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path()));
    env.insert("HOME", QString::fromStdString(config.path()));
    env.insert("DAYWEAVER_REPORT_SHOWN", "1");
    program.setProcessEnvironment(env);
    program.start(DAYWEAVER_GUI, {});
    ASSERT_TRUE(program.waitForStarted(10000));
    // Its first frame is on screen: it has set up the day it shows and is in its event loop.
    std::string errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += program.readAllStandardError().toStdString();
            return errors.find("shown: 0 tasks\n") != std::string::npos;
        },
        15000))
        << errors;
    ASSERT_TRUE(fs::exists(SingleInstance::serverNameFor(data.path()).toStdString()));

    // Today's date: the day the program shows, whose day view is written back at its end.
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    const QStringList add = {"add", today, "09:15", "From the shell"};
    const QStringList done = {"done", today, "1"};
    const QStringList todo = {"todo", "add", "Shell errand"};
    for (const QStringList& args : {add, done, todo}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        expectSameAs(runCli(data.path(), args), runCli(alone.path(), args));
    }
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_NE(data.read("grid.grd").find("From the shell"), std::string::npos);
    EXPECT_NE(data.read("gridNon.grd").find("Shell errand"), std::string::npos);

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitCode(), 0) << errors + program.readAllStandardError().toStdString();
    // The day view it wrote back at its end held the task as done.
    const test::Rows rows = test::fileRows(data.file("grid.grd"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("|From the shell|Yes|"), std::string::npos) << rows[0];
    EXPECT_NE(data.read("gridNon.grd").find("Shell errand"), std::string::npos);
}

} // namespace
} // namespace dw
