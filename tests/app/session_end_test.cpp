// The real program ended the way a logout, a shutdown or Ctrl+C ends it: it saves like
// closing its window, and leaves no lock behind.

#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/window_composition.h"
#include "app/widgets/cell_grid.h"
#include "core/store/task_store.h"
#include "platform/termination_signals.h"
#include "support/fake_prompts.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A store written out of order: only a save that sorts puts 1 January before 2 January.
const std::vector<std::vector<std::string>> kUnsortedStore = {
    {"36527.101", "9:00 AM", "", "Second day", "No", "No"},
    {"36526.101", "9:00 AM", "", "First day", "No", "No"},
};

class SessionEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::saveDataRows(makeGridStore(FormatSettings::enUS()), kUnsortedStore,
                                       data_.file("grid.grd")));
        ASSERT_TRUE(test::saveDataRows(makeGridNonday(), {{"Home", "Paint", "No"}},
                                       data_.file("gridNon.grd")));
    }

    std::string settingsFile() const { return config_.file("Velmora Corporation/Task.conf"); }

    // Starts the program on the offscreen platform with its own data and settings folders,
    // and waits until its first frame is on screen (or it is in the tray).
    void start(const std::string& expectedReport = "shown: 2 tasks\n") {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DAYWEAVER_DATA", QString::fromStdString(data_.path()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(config_.path()));
        env.insert("HOME", QString::fromStdString(config_.path()));
        env.insert("DAYWEAVER_REPORT_SHOWN", "1");
        errors_.clear();
        program_.setProcessEnvironment(env);
        program_.start(DAYWEAVER_GUI, {});
        ASSERT_TRUE(program_.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                errors_ += program_.readAllStandardError().toStdString();
                return errors_.find(" tasks\n") != std::string::npos;
            },
            15000))
            << errors_;
        EXPECT_NE(errors_.find(expectedReport), std::string::npos) << errors_;
        ASSERT_TRUE(fs::exists(data_.file("dayweaver.lock")));
    }

    void endWith(int signalNumber) {
        ::kill(static_cast<pid_t>(program_.processId()), signalNumber);
        ASSERT_TRUE(program_.waitForFinished(15000)) << "the program did not end";
        EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program_.exitCode(), 0)
            << errors_ + program_.readAllStandardError().toStdString();
    }

    void expectSavedLikeAClose() {
        EXPECT_EQ(test::fileRows(data_.file("grid.grd")),
                  (std::vector<std::string>{"36526.101|9:00 AM||First day|No|No",
                                            "36527.101|9:00 AM||Second day|No|No"}));
        EXPECT_EQ(test::fileRows(data_.file("gridNon.grd")),
                  std::vector<std::string>{"Home|Paint|No"});
        std::ifstream in(settingsFile());
        const std::string settings((std::istreambuf_iterator<char>(in)), {});
        EXPECT_NE(settings.find("ClientWidth="), std::string::npos) << settings;
        EXPECT_NE(settings.find("Split2="), std::string::npos) << settings;
        EXPECT_FALSE(fs::exists(data_.file("dayweaver.lock")));
    }

    TempDir data_;
    TempDir config_;
    QProcess program_;
    std::string errors_; // what the program has written on stderr so far
};

TEST_F(SessionEndTest, EachTerminationSignalSavesLikeClosingTheWindow) {
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(s);
        SetUp();
        fs::remove(settingsFile());
        start();
        endWith(s);
        expectSavedLikeAClose();
    }
}

TEST_F(SessionEndTest, ASignalWhileInTheTraySavesToo) {
    fs::create_directories(config_.file("Velmora Corporation"));
    std::ofstream(settingsFile()) << "[Options]\nAutoStart=1\n";
    start("hidden: 2 tasks\n");
    endWith(SIGTERM);
    expectSavedLikeAClose();
}

TEST_F(SessionEndTest, TwoSignalsInARowStillSaveOnce) {
    start();
    const auto pid = static_cast<pid_t>(program_.processId());
    ::kill(pid, SIGTERM);
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(program_.waitForFinished(15000));
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    expectSavedLikeAClose();
}

// Timing a start: the program ends by itself once its first frame is shown.
TEST_F(SessionEndTest, QuittingWhenIdleWaitsForTheFirstFrame) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("DAYWEAVER_DATA", QString::fromStdString(data_.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(config_.path()));
    env.insert("HOME", QString::fromStdString(config_.path()));
    env.insert("DAYWEAVER_QUIT_WHEN_IDLE", "1");
    program_.setProcessEnvironment(env);
    program_.start(DAYWEAVER_GUI, {});
    ASSERT_TRUE(program_.waitForFinished(15000)) << "the program did not end by itself";
    EXPECT_EQ(program_.exitCode(), 0);
    // The platform's own notices may come before it.
    const std::string errors = program_.readAllStandardError().toStdString();
    EXPECT_TRUE(errors.ends_with("shown: 2 tasks\n")) << errors;
}

// In the process: an edit still open in the notes pane and a to-do change are on disk
// once the signal has been handled.
TEST(SessionEnd, ASignalWritesBackTheNotesPaneBeforeSaving) {
    TempDir dir;
    test::FakePrompts prompts;
    ASSERT_TRUE(test::saveDataRows(makeGridStore(FormatSettings::enUS()),
                                   {{"36526.101", "9:00 AM", "", "Pack", "No", "No"}},
                                   dir.file("grid.grd")));
    AppState state(FormatSettings::enUS(),
                   std::make_unique<FixedClock>(encodeDateTime(2000, 1, 1, 9, 0)),
                   std::make_unique<MapSettingsBackend>(),
                   AppPaths{dir.file("dayweaver"), dir.path(), dir.path()}, prompts);
    WindowComposition windows(state);
    MainWindow& w = windows.window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    TerminationSignals termination;
    bool ended = false;
    QObject::connect(&termination, &TerminationSignals::received, &w, [&] {
        w.endSession();
        ended = true;
    });
    QObject::connect(&w, &MainWindow::closed, &w, [&] { ended = true; });

    w.gridDay()->selectTableRow(1);
    w.notesPane()->setFocus();
    w.notesPane()->moveCursor(QTextCursor::End);
    w.notesPane()->insertPlainText(" the passports");
    ASSERT_TRUE(termination.installed());
    std::raise(SIGTERM);
    for (int i = 0; i < 200 && !ended; ++i)
        QTest::qWait(10);
    ASSERT_TRUE(ended);
    EXPECT_EQ(test::fileRows(dir.file("grid.grd")),
              std::vector<std::string>{"36526.101|9:00 AM||Pack the passports|No|No"});
}

} // namespace
} // namespace dw
