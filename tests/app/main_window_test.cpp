#include "app/modal_helpers.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/shell/layout_memory.h"
#include "app/shell/main_window.h"
#include "app/shell/pane_layout.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/tray_controller.h"
#include "app/shell/window_composition.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/dates/date_serial.h"
#include "core/settings/option_keys.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace dw {
namespace {

using test::FakePrompts;
using test::whenModal;

const int kToday = 36526; // Saturday 1 January 2000

// One program run: a data folder, a fixed clock at 9:00 on 1 January 2000, settings in a
// map, and scripted prompts.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        auto clock = std::make_unique<FixedClock>(encodeDateTime(2000, 1, 1, 9, 0));
        clock_ = clock.get();
        auto backend = std::make_unique<MapSettingsBackend>();
        backend_ = backend.get();
        FormatSettings fs = FormatSettings::enUS();
        // Two-digit years and seconds, as a locale may have them before the adjustment.
        fs.shortDateFormat = "M/d/yy";
        fs.longTimeFormat = "h:mm:ss tt";
        state_ = std::make_unique<AppState>(
            fs, std::move(clock), std::move(backend),
            AppPaths{dir_.file("dayweaver"), dir_.path(), dir_.path()}, prompts_);
    }

    // The windows as the program builds them (window_composition.h).
    MainWindow& window() {
        if (!composition_)
            composition_ = std::make_unique<WindowComposition>(*state_);
        return composition_->window();
    }

    MainWindow& shown() {
        MainWindow& w = window();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }

    // Writes a table file the way the program does.
    void writeStore(const std::vector<std::vector<std::string>>& rows) {
        ASSERT_TRUE(test::saveDataRows(makeGridStore(state_->fs()), rows, dir_.file("grid.grd")));
    }
    void writeTodo(const std::vector<std::vector<std::string>>& rows) {
        ASSERT_TRUE(test::saveDataRows(makeGridNonday(), rows, dir_.file("gridNon.grd")));
    }

    // A table file's data rows, each as its cells joined by "|".
    std::vector<std::string> fileRows(const std::string& name) {
        return test::fileRows(dir_.file(name));
    }

    std::string setting(const std::string& section, const std::string& name) {
        return backend_->value(section, name).value_or("<none>");
    }

    test::TempDir dir_;
    FakePrompts prompts_;
    FixedClock* clock_ = nullptr;
    MapSettingsBackend* backend_ = nullptr;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<WindowComposition> composition_;
};

// ---------------------------------------------------------------------------------------
// Creation, first show, close

TEST_F(ShellTest, CreationLoadsBothTaskFilesAndWaitsWithTheRestForTheFirstShow) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "No"}});
    writeTodo({{"Home", "Paint the fence", "No"}, {"", "Call Ann", "Yes"}});
    MainWindow& w = window();

    EXPECT_EQ(w.windowTitle(), "Dayweaver");
    EXPECT_EQ(w.objectName(), "frmMain");
    EXPECT_EQ(state_->store().gridStore().rowCount(), 2);
    EXPECT_EQ(state_->store().gridStore().cell(StoreCol::What, 1), "Standup");
    ASSERT_EQ(w.gridNonday()->model()->rowCount(), 2);
    EXPECT_EQ(w.gridNonday()->model()->index(1, TodoCol::What).data().toString(), "Call Ann");
    EXPECT_EQ(w.minimumWindowWidth(), 637 * w.logicalDpiX() / 96);
    EXPECT_FALSE(w.alarmBusy());

    // Not yet: the format adjustment, the day view and the date caption.
    EXPECT_FALSE(w.firstShowDone());
    EXPECT_EQ(state_->fs().shortDateFormat, "M/d/yy");
    EXPECT_EQ(w.dateCaption()->text(), "Tasks for ");
    EXPECT_EQ(state_->store().gridDay().cell(DayCol::What, 1), "");
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(ShellTest, FirstShowAdjustsFormatsLoadsHolidaysAndFillsTheDayView) {
    writeStore({{"36526.101", "9:00 AM", "Work", "Standup", "No", "No"},
                {"36526.102", "2:00 PM", "Home", "Dentist", "No", "Yes"},
                {"36527.101", "8:00 AM", "", "Tomorrow's", "No", "No"}});
    MainWindow& w = window();
    // The deferred layout pass starts at first show; on a busy machine its 40 ms may even
    // have run out before the window is exposed.
    bool layoutPassRan = false;
    QObject::connect(w.timerPool(), &TimerPool::allTriggers, &w,
                     [&](int handle) { layoutPassRan |= handle == w.layoutTrigger(); });
    shown();

    EXPECT_TRUE(w.firstShowDone());
    EXPECT_EQ(state_->fs().shortDateFormat, "M/d/yyyy");
    EXPECT_EQ(state_->fs().longTimeFormat, "h:mm tt");
    EXPECT_EQ(w.selectedDate(), kToday);
    ASSERT_EQ(w.gridDay()->model()->rowCount(), 2);
    EXPECT_EQ(w.gridDay()->model()->index(0, DayCol::What).data().toString(), "Standup");
    EXPECT_EQ(w.gridDay()->model()->index(1, DayCol::What).data().toString(), "Dentist");
    EXPECT_EQ(w.dateCaption()->text(), "2 tasks Sat 1/1/2000  Today");
    EXPECT_EQ(w.statusLabel()->text(), "Today is Saturday, January 1, 2000 9:00 AM");
    EXPECT_TRUE(w.timerPool()->isEnabled(w.layoutTrigger()) || layoutPassRan);
    EXPECT_EQ(QApplication::focusWidget(), w.gridDay());

    // Hiding and showing again does not run the first-show steps a second time.
    state_->store().gridDay().setCell(DayCol::What, 1, "changed in the view");
    w.hide();
    w.show();
    EXPECT_EQ(state_->store().gridDay().cell(DayCol::What, 1), "changed in the view");
}

TEST_F(ShellTest, AHolidayNamesTheDateInRed) {
    CellTable holidays(4, 2);
    holidays.setCell(0, 1, "New Year's Day");
    holidays.setCell(1, 1, "01");
    holidays.setCell(2, 1, "January");
    holidays.setCell(3, 1, "1");
    ASSERT_TRUE(holidays.saveTable(dir_.file("holiday.grd")));
    MainWindow& w = shown();
    EXPECT_EQ(state_->gridHoliday().cell(0, 1), "New Year's Day");
    EXPECT_EQ(w.dateCaption()->text(), "New Year's Day  Today");
    EXPECT_EQ(w.dateCaption()->textColor(), QColor(255, 0, 0));
}

TEST_F(ShellTest, ADamagedFileIsReportedAndKeptAside) {
    dir_.write("grid.grd", "this is not a table file\r\n");
    MainWindow& w = window();
    ASSERT_EQ(prompts_.errors.size(), 1u);
    EXPECT_NE(prompts_.errors[0].find("grid.grd"), std::string::npos) << prompts_.errors[0];
    EXPECT_EQ(dir_.read("grid.grd.damaged"), "this is not a table file\r\n");
    EXPECT_TRUE(w.close());
}

TEST_F(ShellTest, AFolderInADataFilesPlaceIsReportedOnceNotAgainAtExit) {
    std::filesystem::create_directory(dir_.file("grid.grd"));
    MainWindow& w = shown();
    ASSERT_EQ(prompts_.errors.size(), 1u);
    EXPECT_NE(prompts_.errors[0].find(dir_.file("grid.grd")), std::string::npos)
        << prompts_.errors[0];
    state_->store().gridNonday().setCell(TodoCol::What, 1, "Buy stamps");
    w.tray().setAvailable(true);
    w.action("hideCalendarAction")->trigger();
    w.tray().bringBack();
    EXPECT_TRUE(w.close());
    EXPECT_EQ(prompts_.errors.size(), 1u) << prompts_.errors.back();
    EXPECT_TRUE(std::filesystem::is_directory(dir_.file("grid.grd")));
    EXPECT_EQ(fileRows("gridNon.grd"), (std::vector<std::string>{"|Buy stamps|"}));
}

TEST_F(ShellTest, ClosingWritesASortedStoreWithoutEmptyKeysAndTheToDoList) {
    writeStore({{"36527.101", "8:00 AM", "", "Later", "No", "No"},
                {"", "", "", "", "", ""},
                {"36526.101", "9:00 AM", "Work", "Standup", "No", "No"}});
    writeTodo({{"Home", "Paint the fence", "No"}});
    std::filesystem::remove(dir_.file("gridNon.grd"));
    MainWindow& w = shown();
    QSignalSpy closed(&w, &MainWindow::closed);

    EXPECT_TRUE(w.close());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(w.alarmBusy());
    for (int h = 1; h <= w.timerPool()->count(); ++h)
        EXPECT_FALSE(w.timerPool()->isEnabled(h)) << "trigger " << h;
    EXPECT_EQ(fileRows("grid.grd"),
              (std::vector<std::string>{"36526.101|9:00 AM|Work|Standup|No|No",
                                        "36527.101|8:00 AM||Later|No|No"}));
    // Nothing changed in the to-do list (the file was even gone), yet it is written.
    EXPECT_EQ(fileRows("gridNon.grd"), (std::vector<std::string>{"||"}));
}

TEST_F(ShellTest, ClosingOnAFirstRunWritesBothFilesAndTheLayout) {
    MainWindow& w = window();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(std::filesystem::exists(dir_.file("grid.grd")));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("gridNon.grd")));
    EXPECT_EQ(setting("", "Split2"), "296");
    EXPECT_EQ(setting("", "ClientHeight"), "450");
    EXPECT_EQ(setting("", "ClientWidth"), "630");
    EXPECT_EQ(setting("", "Split1"), "314");
    EXPECT_EQ(setting("", "SplitDay"), "156");
}

// ---------------------------------------------------------------------------------------
// Tray

TEST_F(ShellTest, HidingToTheTraySavesBothFilesAndKeepsTheDay) {
    // An empty-key row, where a loaded store's sort puts it: before the tasks.
    writeStore({{"", "", "", "", "", ""}, {"36526.101", "9:00 AM", "Work", "Standup", "No", "No"}});
    MainWindow& w = shown();
    w.tray().setAvailable(true);
    CellTable& todo = state_->store().gridNonday();
    todo.setCell(TodoCol::What, 1, "Buy stamps");

    w.action("hideCalendarAction")->trigger(); // "Hide calendar"
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(fileRows("gridNon.grd"), (std::vector<std::string>{"|Buy stamps|"}));
    // Written as it is: the empty-key row stays until the store is sorted.
    EXPECT_EQ(fileRows("grid.grd").size(), 2u);

    w.tray().bringBack();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.selectedDate(), kToday);
    EXPECT_EQ(w.gridDay()->model()->index(0, DayCol::What).data().toString(), "Standup");
    EXPECT_EQ(w.dateCaption()->text(), "Sat 1/1/2000  Today");
}

TEST_F(ShellTest, HideAndMinimiseGoToTheTrayAndTheTrayBringsTheWindowBack) {
    MainWindow& w = shown();
    w.tray().setAvailable(true);
    EXPECT_EQ(w.tray().icon()->toolTip(), "Right click to open");

    w.action("hideAction")->trigger();
    EXPECT_FALSE(w.isVisible());
    emit w.tray().icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(w.isVisible());

    std::filesystem::remove(dir_.file("gridNon.grd"));
    w.showMinimized();
    EXPECT_TRUE(std::filesystem::exists(dir_.file("gridNon.grd")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    emit w.tray().icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());

    // The icon's menu opens the window too, and ends the program from the tray.
    w.tray().hideToTray();
    QMenu* menu = w.tray().icon()->contextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 3); // open, separator, exit
    menu->actions().front()->trigger();
    EXPECT_TRUE(w.isVisible());
    w.tray().hideToTray();
    QSignalSpy closed(&w, &MainWindow::closed);
    menu->actions().back()->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("grid.grd")));
}

TEST_F(ShellTest, WithoutATrayHidingMinimisesSoTheWindowIsNeverLost) {
    MainWindow& w = shown();
    w.tray().setAvailable(false);
    w.tray().hideToTray();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_TRUE(std::filesystem::exists(dir_.file("grid.grd")));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("gridNon.grd")));
    w.tray().bringBack();
    EXPECT_FALSE(w.isMinimized());
}

TEST_F(ShellTest, StartingInTheTrayWaitsForTheFirstShow) {
    MainWindow& w = window();
    w.tray().setAvailable(true);
    w.tray().startInTray();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.firstShowDone());
    // The triggers run all the same.
    EXPECT_TRUE(w.timerPool()->isEnabled(w.alarmTrigger()));
    EXPECT_TRUE(w.timerPool()->isEnabled(w.clockTrigger()));

    emit w.tray().icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.firstShowDone());
    EXPECT_EQ(state_->fs().shortDateFormat, "M/d/yyyy");
}

TEST_F(ShellTest, WithoutATrayStartingInTheTrayStartsMinimised) {
    MainWindow& w = window();
    w.tray().setAvailable(false);
    w.tray().startInTray();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_TRUE(w.firstShowDone());
}

// ---------------------------------------------------------------------------------------
// Timers

TEST_F(ShellTest, FiveTriggersInCreationOrderEachDispatchedToItsHandler) {
    MainWindow& w = window();
    TimerPool* pool = w.timerPool();
    ASSERT_EQ(pool->count(), 5);
    const int handles[] = {w.alarmTrigger(), w.panelColorTrigger(), w.layoutTrigger(),
                           w.hoverTrigger(), w.clockTrigger()};
    const int intervals[] = {50000, 1000, 40, 120, 1000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(handles[i], i + 1);
        EXPECT_EQ(pool->interval(handles[i]), intervals[i]);
        // The alarm panel's flashing waits for an alarm.
        EXPECT_EQ(pool->isEnabled(handles[i]), handles[i] != w.panelColorTrigger())
            << "trigger " << i + 1;
    }

    std::map<std::string, int> ran;
    w.setAlarmCheck([&] { ++ran["alarm"]; });
    w.setPanelFlash([&] { ++ran["panel"]; });
    w.setHoverTick([&] { ++ran["hover"]; });
    w.onTimerTrigger(w.alarmTrigger());
    w.onTimerTrigger(w.hoverTrigger());
    w.onTimerTrigger(w.hoverTrigger());
    EXPECT_EQ(ran, (std::map<std::string, int>{{"alarm", 1}, {"hover", 2}}));
    w.onTimerTrigger(w.panelColorTrigger());
    EXPECT_EQ(ran["panel"], 1);

    // The clock trigger writes the status bar.
    EXPECT_EQ(w.statusLabel()->text(), "");
    clock_->advanceMinutes(61);
    w.onTimerTrigger(w.clockTrigger());
    EXPECT_EQ(w.statusLabel()->text(), "Today is Saturday, January 1, 2000 10:01:00 AM");
    EXPECT_EQ(ran.size(), 3u);

    // The pool's own reports reach the same handler.
    emit pool->allTriggers(w.alarmTrigger());
    EXPECT_EQ(ran["alarm"], 2);
}

TEST_F(ShellTest, PointingAtASplitterFlashesItsBarFifteenTimes) {
    MainWindow& w = shown();
    const QColor lime(0, 255, 0);
    const QColor face = toQColor(SysColor::ButtonFace);
    struct Case {
        const char* action;
        PaneSplitter* target;
    };
    const Case cases[] = {{"calendarsWidthAction", w.split1()},
                          {"dayToTodoAction", w.split2()},
                          {"dayNotesAction", w.splitDay()}};
    for (const Case& c : cases) {
        w.timerPool()->setEnabled(w.layoutTrigger(), false);
        w.action(c.action)->trigger();
        EXPECT_EQ(w.paneLayout().flashTarget(), c.target) << c.action;
        EXPECT_TRUE(w.timerPool()->isEnabled(w.layoutTrigger())) << c.action;
        for (int step = 0; step < 15; ++step) {
            w.onTimerTrigger(w.layoutTrigger());
            EXPECT_EQ(c.target->barColor(), step % 2 == 0 ? face : lime)
                << c.action << " step " << step;
            EXPECT_TRUE(w.timerPool()->isEnabled(w.layoutTrigger()));
        }
        w.onTimerTrigger(w.layoutTrigger());
        EXPECT_FALSE(w.timerPool()->isEnabled(w.layoutTrigger())) << c.action;
        EXPECT_FALSE(w.paneLayout().layoutPass().flashing);
        EXPECT_EQ(c.target->barColor(), face);
    }
    // A later tick is a plain layout pass that switches the trigger off again.
    w.timerPool()->setEnabled(w.layoutTrigger(), true);
    w.onTimerTrigger(w.layoutTrigger());
    EXPECT_FALSE(w.timerPool()->isEnabled(w.layoutTrigger()));
}

// ---------------------------------------------------------------------------------------
// Layout

TEST_F(ShellTest, FirstRunLayoutDefaults) {
    MainWindow& w = window();
    EXPECT_EQ(w.layoutMemory().clientWidth(), 630);
    EXPECT_EQ(w.layoutMemory().clientHeight(), 450);
    EXPECT_EQ(w.split2()->position(), 296);
    EXPECT_EQ(w.split1()->position(), 314);
    EXPECT_EQ(w.splitDay()->position(), 156);
    EXPECT_EQ(w.layoutMemory().properties().items().front(),
              "split2;Position;Software\\Velmora Corporation\\Task;Split2;296;1");

    // On screen the panes have those sizes, the notes pane hidden or not.
    shown();
    EXPECT_EQ(w.split2()->sizes().first(), 296);
    EXPECT_EQ(w.split1()->sizes().first(), 314);
    EXPECT_EQ(w.split2()->position(), 296);
    EXPECT_EQ(w.splitDay()->position(), 156);
    EXPECT_EQ(w.mainToolBar()->height(), 25);
}

TEST_F(ShellTest, RememberedValuesComeBackAndAreSavedAtClose) {
    backend_->setValue("", "split2", "240");
    backend_->setValue("", "ClientWidth", "700");
    backend_->setValue("", "ClientHeight", "tall"); // not a number: the design value stays
    backend_->setValue("", "Split1", "330");
    MainWindow& w = shown();
    EXPECT_EQ(w.layoutMemory().clientWidth(), 700);
    EXPECT_EQ(w.split2()->sizes().first(), 240);
    EXPECT_EQ(w.split1()->sizes().first(), 330);

    w.split1()->setPosition(300);
    EXPECT_TRUE(w.close());
    EXPECT_EQ(setting("", "Split2"), "240");
    EXPECT_EQ(setting("", "Split1"), "300");
    EXPECT_EQ(setting("", "ClientWidth"), "700");
}

TEST_F(ShellTest, MaximizeCommandsGiveOnePaneTheWholeHeight) {
    MainWindow& w = shown();
    QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(w.split2()->sizes().at(1), 0);
    EXPECT_EQ(w.split2()->position(), w.split2()->span());
    EXPECT_EQ(QApplication::focusWidget(), w.gridDay());

    QTest::keyClick(&w, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(w.split2()->sizes().at(0), 0);
    EXPECT_GT(w.split2()->sizes().at(1), 0);
    EXPECT_EQ(QApplication::focusWidget(), w.gridNonday());

    // A split that hides a pane is never kept: the last one that showed both is.
    EXPECT_TRUE(w.close());
    EXPECT_EQ(setting("", "Split2"), "296");
}

TEST_F(ShellTest, ASplitThatWouldHideAPaneIsNeverSavedNorApplied) {
    // A task of the shown day, so that its notes pane shows under the day view.
    writeStore({{"36526.101", "9:00 AM", "", "Standup\r\nroom 4", "No", "No"}});
    {
        MainWindow& w = shown();
        w.splitDay()->setPosition(120);
        QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier); // the day view takes it all
        w.splitDay()->setPosition(0);                        // and its notes split collapses
        prompts_.setNextAnswer(FakePrompts::Yes);
        w.action("memorizeLayoutAction")->trigger();
        EXPECT_EQ(setting("Memorize", "SplitDay"), "120");
        EXPECT_EQ(setting("Memorize", "Split2Pos"), "296");
        w.splitDay()->setPosition(w.splitDay()->span() + 50);
        EXPECT_TRUE(w.close());
        EXPECT_EQ(setting("", "SplitDay"), "120");
        EXPECT_EQ(setting("", "Split2"), "296");
    }
    // Settings that an earlier version saved so: both panes show at the next start.
    backend_->setValue("", "SplitDay", "0");
    backend_->setValue("", "Split2", "0");
    composition_.reset();
    MainWindow& again = shown();
    EXPECT_GT(again.splitDay()->sizes().at(0), 0);
    EXPECT_GT(again.splitDay()->sizes().at(1), 0);
    EXPECT_GT(again.split2()->sizes().at(0), 0);
    EXPECT_GT(again.split2()->sizes().at(1), 0);
    backend_->setValue("Memorize", "SplitDay", "0");
    QTest::keyClick(&again, Qt::Key_R, Qt::ControlModifier);
    EXPECT_GT(again.splitDay()->sizes().at(0), 0);
    EXPECT_GT(again.splitDay()->sizes().at(1), 0);
}

TEST_F(ShellTest, MemorizeAsksFirstAndRestoreBringsTheLayoutBack) {
    MainWindow& w = shown();
    w.action("restoreLayoutAction")->trigger();
    EXPECT_EQ(prompts_.errors, (std::vector<std::string>{"Screen has not yet been memorized"}));

    w.action("memorizeLayoutAction")->trigger(); // answered No
    EXPECT_EQ(prompts_.questions,
              (std::vector<std::string>{"Really memorize current screen positions?"}));
    EXPECT_EQ(setting("Memorize", "Done"), "<none>");

    w.resize(700, 500);
    w.split1()->setPosition(280);
    w.split2()->setPosition(260);
    w.splitDay()->setPosition(120);
    const QRect bounds = w.frameGeometry();
    prompts_.setNextAnswer(FakePrompts::Yes);
    w.action("memorizeLayoutAction")->trigger();
    EXPECT_EQ(setting("Memorize", "Done"), "1");
    EXPECT_EQ(setting("Memorize", "Width"), std::to_string(bounds.width()));
    EXPECT_EQ(setting("Memorize", "Height"), std::to_string(bounds.height()));
    EXPECT_EQ(setting("Memorize", "Split1Pos"), "280");
    EXPECT_EQ(setting("Memorize", "Split2Pos"), "260");
    EXPECT_EQ(setting("Memorize", "SplitDay"), "120");

    w.resize(660, 460);
    w.split1()->setPosition(200);
    w.split2()->setPosition(150);
    w.splitDay()->setPosition(60);
    QTest::keyClick(&w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(w.frameGeometry().size(), bounds.size());
    EXPECT_EQ(w.split1()->position(), 280);
    EXPECT_EQ(w.split2()->position(), 260);
    EXPECT_EQ(w.splitDay()->position(), 120);
    EXPECT_EQ(prompts_.errors.size(), 1u);
}

TEST_F(ShellTest, GridColumnsFillTheGridAndMakeRoomForTheScrollBar) {
    MainWindow& w = shown();
    CellGrid* day = w.gridDay();
    const int dpi = w.logicalDpiX();
    // The Time column is 56 pixels at 96 dpi, or wider when the locale's times need it.
    const int time = std::max(56 * dpi / 96, w.paneLayout().widestTimeText());
    auto whatWidth = [&](bool scrolling) {
        const int thumb = scrolling ? day->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
        const int fixed = day->columnWidth(DayCol::Time) + day->columnWidth(DayCol::Category) +
                          day->columnWidth(DayCol::Done) + day->columnWidth(DayCol::Alarm);
        return day->width() - fixed - thumb - 2 * day->frameWidth() - 5;
    };
    EXPECT_GE(day->columnWidth(DayCol::Category), 72 * dpi / 96);
    EXPECT_GE(day->columnWidth(DayCol::Done), 40 * dpi / 96);
    ASSERT_FALSE(day->needsVerticalScroll());
    EXPECT_GE(day->columnWidth(DayCol::Time), time);
    EXPECT_GE(day->columnWidth(DayCol::Time), day->fontMetrics().horizontalAdvance("12:59 PM"));
    EXPECT_EQ(day->columnWidth(DayCol::What), whatWidth(false));

    // More tasks than fit: the What column gives up the scroll bar's width.
    CellTable& t = state_->store().gridDay();
    t.setRowCount(40);
    for (int r = 1; r < 40; ++r)
        t.setCell(DayCol::Time, r, "9:00 AM");
    day->refresh();
    w.paneLayout().resizeGridDay();
    ASSERT_TRUE(day->needsVerticalScroll());
    EXPECT_EQ(day->columnWidth(DayCol::What), whatWidth(true));

    CellGrid* todo = w.gridNonday();
    EXPECT_GE(todo->columnWidth(TodoCol::Done), 40 * dpi / 96);
    EXPECT_EQ(todo->columnWidth(TodoCol::What),
              todo->width() - todo->columnWidth(TodoCol::Category) -
                  todo->columnWidth(TodoCol::Done) - 2 * todo->frameWidth() - 5);
    // The to-do table keeps the fitted widths for its file.
    EXPECT_EQ(state_->store().gridNonday().colWidth(TodoCol::What),
              todo->columnWidth(TodoCol::What));
}

TEST_F(ShellTest, MinimumWidthHoldsOnceShown) {
    MainWindow& w = shown();
    const int frame = (w.frameGeometry().width() - w.width()) / 2;
    EXPECT_EQ(w.minimumWidth(), w.minimumWindowWidth() - frame);
    w.resize(300, 400);
    EXPECT_EQ(w.width(), w.minimumWidth());
}

// ---------------------------------------------------------------------------------------
// Settings

TEST_F(ShellTest, ReadSettingsGivesTheTitleCaptionsTheirLookAndSetsTheHoverTrigger) {
    backend_->setValue("Options", "Category", "Work");
    backend_->setValue("Options", "Confirm", "0");
    MainWindow& w = shown();
    const int dpiY = w.logicalDpiY();
    EXPECT_TRUE(w.shadows());
    EXPECT_EQ(w.defaultCategory(), "Work");
    EXPECT_FALSE(w.confirmDeletes());
    for (ShadowLabel* caption : {w.dateCaption(), w.todoCaption()}) {
        EXPECT_EQ(caption->shadowDepth(), 4);
        EXPECT_EQ(caption->height(), 20 * dpiY / 72 + 8 + 3);
        EXPECT_EQ(caption->font().pointSize(), 20);
    }
    EXPECT_EQ(w.todoCaption()->textColor(), QColor(0, 0, 255));
    EXPECT_TRUE(w.timerPool()->isEnabled(w.hoverTrigger()));

    backend_->setValue("Options", "Shadows", "0");
    state_->options().popup = false;
    w.readSettings();
    EXPECT_FALSE(w.shadows());
    for (ShadowLabel* caption : {w.dateCaption(), w.todoCaption()}) {
        EXPECT_EQ(caption->shadowDepth(), 1);
        EXPECT_EQ(caption->height(), 20 * dpiY / 72 + 8);
        EXPECT_EQ(caption->textColor(), QColor(0, 0, 128));
    }
    EXPECT_FALSE(w.timerPool()->isEnabled(w.hoverTrigger()));
}

TEST_F(ShellTest, TheOptionsCommandShowsTheOptionsAndThenRereadsTheSettings) {
    MainWindow& w = shown();
    OptionsDialog& options = composition_->options();
    EXPECT_TRUE(w.shadows());
    ASSERT_NE(w.action("optionsAction"), nullptr);
    EXPECT_EQ(w.action("optionsAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(w.mainToolBar()->actions().contains(w.action("optionsAction")));

    // Cancelled: the store decides what the window shows afterwards.
    backend_->setValue("Options", "Shadows", "0");
    backend_->setValue("Options", "Category", "Errands");
    bool wasShown = false;
    whenModal<OptionsDialog>([&](OptionsDialog* d) {
        wasShown = d == &options && d->isVisible() && d->isModal();
        d->reject();
    });
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(wasShown);
    EXPECT_FALSE(w.shadows());
    EXPECT_EQ(w.defaultCategory(), "Errands");
    EXPECT_EQ(w.dateCaption()->shadowDepth(), 1);
}

TEST_F(ShellTest, TheOptionsWindowsReactionsReachTheMainWindow) {
    MainWindow& w = shown();
    OptionsDialog& options = composition_->options();

    emit options.shadowsChanged(false);
    EXPECT_EQ(w.todoCaption()->shadowDepth(), 1);
    emit options.shadowsChanged(true);
    EXPECT_EQ(w.todoCaption()->shadowDepth(), 4);

    emit options.rowHeightChanged(30);
    EXPECT_EQ(w.gridDay()->rowHeight(), 30);
    EXPECT_EQ(w.gridNonday()->rowHeight(), 30);

    state_->options().gridFont = {"DejaVu Sans", 14};
    emit options.gridFontChanged();
    EXPECT_EQ(w.gridDay()->font().pointSize(), 14);
    EXPECT_EQ(w.notesPane()->font().pointSize(), 14);

    // A task added to the store behind the day view shows after a refresh request.
    ASSERT_TRUE(state_->store().insertTask(kToday, {"9:00 AM", "", "Fresh", false, false}));
    emit options.dayViewNeedsRefresh();
    EXPECT_EQ(w.gridDay()->model()->index(0, DayCol::What).data().toString(), "Fresh");

    emit options.helpRequested(HelpTopic::Options);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->source().fragment(), "400");
    helpWindow()->close();
}

TEST_F(ShellTest, GridFontAndRowHeightComeFromTheOptions) {
    // As stored: the options window reads them again when it is made.
    state_->options().rowHeight = 22;
    state_->options().gridFont = {"DejaVu Sans", 12, true};
    ASSERT_TRUE(saveOptions(state_->settings(), state_->options()));
    MainWindow& w = window();
    for (CellGrid* g : {w.gridDay(), w.gridNonday()}) {
        EXPECT_EQ(g->rowHeight(), 22);
        EXPECT_EQ(g->font().pointSize(), 12);
        EXPECT_TRUE(g->font().bold());
    }
    EXPECT_EQ(w.notesPane()->font().pointSize(), 12);
}

// ---------------------------------------------------------------------------------------
// Keys, notes, help

TEST_F(ShellTest, EscapeReachesNoControlOfTheWindowButStillClosesItsDialogs) {
    MainWindow& w = shown();
    int escapes = 0, others = 0;
    struct Probe : QObject {
        int* escapes;
        int* others;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress)
                ++*(static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape ? escapes : others);
            return false;
        }
    } probe;
    probe.escapes = &escapes;
    probe.others = &others;
    for (QWidget* target : {static_cast<QWidget*>(w.gridDay()),
                            static_cast<QWidget*>(w.gridNonday()), static_cast<QWidget*>(&w)}) {
        target->installEventFilter(&probe);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        // (Down in an empty day view belongs to the window: it steps a week.)
        QTest::keyClick(target, Qt::Key_End);
        target->removeEventFilter(&probe);
    }
    EXPECT_EQ(escapes, 0);
    EXPECT_EQ(others, 3);
    EXPECT_TRUE(w.isVisible());

    QDialog dialog(&w);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ShellTest, TheNotesPaneShowsTheSelectedTaskWithItsLines) {
    writeStore({{"36526.101", "9:00 AM", "", "Pack\r\nPassport", "No", "No"},
                {"36526.102", "10:00 AM", "", "", "No", "No"},
                {"36526.103", "11:00 AM", "", "Done already", "Yes", "No"}});
    MainWindow& w = shown();
    EXPECT_TRUE(w.notesPane()->isVisible());
    EXPECT_EQ(w.notesPane()->toPlainText(), "Pack\nPassport");
    EXPECT_EQ(w.notesPane()->palette().color(QPalette::Base), QColor(0xF8, 0xFC, 0xC9));
    w.gridDay()->selectTableRow(2);
    EXPECT_FALSE(w.notesPane()->isVisible());
    w.gridDay()->selectTableRow(3);
    EXPECT_TRUE(w.notesPane()->isVisible());
    EXPECT_EQ(w.notesPane()->palette().color(QPalette::Base), toQColor(SysColor::ButtonFace));
    // The pane coming and going leaves the day view's height where it was.
    EXPECT_EQ(w.splitDay()->position(), 156);
}

TEST_F(ShellTest, HelpOpensTheHelpPageAtTheMainTopic) {
    MainWindow& w = shown();
    QTest::keyClick(&w, Qt::Key_F1);
    QTextBrowser* help = helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->source().fragment(), "100");
    EXPECT_TRUE(help->toPlainText().contains("To-do Tasks"));

    // Other windows open their topics through the same function.
    showHelpTopic(HelpTopic::Options);
    EXPECT_EQ(help->source().fragment(), "400");
    help->close();
}

TEST_F(ShellTest, SelectionShowsOnlyInThePaneWithTheFocus) {
    MainWindow& w = shown();
    const QColor window = toQColor(SysColor::Window);
    const QColor highlight = toQColor(SysColor::Highlight);
    w.gridNonday()->setFocus();
    EXPECT_EQ(w.gridNonday()->palette().color(QPalette::Active, QPalette::Highlight), highlight);
    EXPECT_EQ(w.gridDay()->palette().color(QPalette::Active, QPalette::Highlight), window);
    w.gridDay()->setFocus();
    EXPECT_EQ(w.gridDay()->palette().color(QPalette::Active, QPalette::Highlight), highlight);
    EXPECT_EQ(w.gridNonday()->palette().color(QPalette::Active, QPalette::Highlight), window);
}

} // namespace
} // namespace dw

namespace dw {
namespace {

TEST_F(ShellTest, PastMidnightTheDateCaptionFollowsAndTheSelectionStays) {
    clock_->setNow(encodeDateTime(2000, 1, 1, 23, 59, 59));
    MainWindow& w = shown();
    w.onTimerTrigger(w.clockTrigger());
    EXPECT_EQ(w.dateCaption()->text(), "Sat 1/1/2000  Today");
    clock_->setNow(encodeDateTime(2000, 1, 2, 0, 0, 1));
    w.onTimerTrigger(w.clockTrigger());
    EXPECT_EQ(w.dateCaption()->text(), "Sat 1/1/2000  Yesterday");
    EXPECT_EQ(w.selectedDate(), kToday);
}

TEST_F(ShellTest, FixedColumnsFitTheirHeadersAndCellsAtEveryGridFontSize) {
    writeStore({{"36526.101", "12:59 PM", "Appointments", "Dentist", "No", "Yes"}});
    writeTodo({{"Errands long", "Post", "No"}});
    MainWindow& w = shown();
    w.resize(1280, 900);
    for (const int points : {8, 12, 16}) {
        SCOPED_TRACE(points);
        state_->options().gridFont.size = points;
        w.changeGridFonts();
        for (CellGrid* g : {w.gridDay(), w.gridNonday()}) {
            const QFontMetrics header(g->horizontalHeader()->font());
            const QFontMetrics cells(g->font());
            const CellTable& t = g->table();
            const std::vector<int> fixed =
                g == w.gridDay() ? std::vector<int>{0, 1, 3, 4} : std::vector<int>{0, 2};
            for (const int c : fixed) {
                const QString caption = QString::fromStdString(t.cell(c, 0));
                EXPECT_GT(g->columnWidth(c), header.horizontalAdvance(caption))
                    << caption.toStdString();
                EXPECT_GT(g->columnWidth(c),
                          cells.horizontalAdvance(QString::fromStdString(t.cell(c, 1))));
            }
            // What takes the rest, and the rows are as tall as the font needs.
            EXPECT_GT(g->columnWidth(g == w.gridDay() ? DayCol::What : TodoCol::What), 0);
            EXPECT_GE(g->rowHeight(), cells.height());
        }
    }
}

} // namespace
} // namespace dw

namespace dw {
namespace {

TEST_F(ShellTest, AfterModalDialogsCloseTheWindowIsActiveWithTheFocusInIt) {
    MainWindow& w = shown();
    w.activateWindow();
    w.gridDay()->setFocus();
    // A dialog that opens another and both close at once, as Reschedule does.
    QDialog outer(&w);
    outer.setModal(true);
    QDialog inner(&outer);
    inner.setModal(true);
    outer.show();
    inner.show();
    QApplication::setActiveWindow(&inner);
    inner.hide();
    outer.hide();
    for (int i = 0; i < 50 && QApplication::activeWindow() != &w; ++i)
        QTest::qWait(10);
    EXPECT_EQ(QApplication::activeWindow(), &w);
    EXPECT_EQ(QApplication::focusWidget(), w.gridDay());
}

} // namespace
} // namespace dw
