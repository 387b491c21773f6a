#include "app/settings/alarm_notifier.h"
#include "app/settings/alarm_panel.h"
#include "app/shell/main_actions.h"
#include "app/shell/tray_controller.h"
#include "app/widgets/timer_pool.h"
#include "core/dates/date_format.h"
#include "core/store/helpers.h"
#include "task_window_fixture.h"

#include <QAction>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace dw {
namespace {

using test::kToday;

class AlarmWindowTest : public test::TaskWindowTest {
protected:
    MainWindow& withSound() {
        MainWindow& w = shown();
        composition().alarms().setSoundPlayer([this](bool on) { sound_.push_back(on); });
        return w;
    }
    AlarmNotifier& alarms() { return composition().alarms(); }
    void checkAt(int hour, int minute, int second = 0, int day = 0) {
        clock_->setNow(kToday + day + timeFraction(hour, minute, second));
        window().onTimerTrigger(window().alarmTrigger());
    }
    std::vector<bool> sound_;
};

TEST_F(AlarmWindowTest, ADueTaskRaisesTheFlashingPanelWithSoundUntilItIsClicked) {
    writeStore({{"36526.100", "10:30 AM", "", "Ring the plumber about the kitchen tap, today", "No",
                 "Yes"}});
    MainWindow& w = withSound();
    checkAt(10, 29, 50);
    EXPECT_FALSE(w.alarmBusy());
    EXPECT_FALSE(w.timerPool()->isEnabled(w.panelColorTrigger()));
    checkAt(10, 30, 40);
    ASSERT_TRUE(w.alarmBusy());
    AlarmPanel* panel = alarms().panel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), w.rect());
    EXPECT_EQ(panel->text(), "Alarm \"Ring the plumber about the kitchen tap, \" at 10:30 AM ... "
                             "click panel to clear");
    EXPECT_EQ(alarms().lastNotification(),
              "10:30 AM  Ring the plumber about the kitchen tap, today");
    EXPECT_EQ(sound_, (std::vector<bool>{true}));
    EXPECT_TRUE(w.timerPool()->isEnabled(w.panelColorTrigger()));
    // Lime, yellow, lime.
    EXPECT_EQ(panel->fillColor(), AlarmPanel::kLime);
    w.onTimerTrigger(w.panelColorTrigger());
    EXPECT_EQ(panel->fillColor(), AlarmPanel::kYellow);
    w.onTimerTrigger(w.panelColorTrigger());
    EXPECT_EQ(panel->fillColor(), AlarmPanel::kLime);

    QTest::mouseClick(panel, Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(w.alarmBusy());
    EXPECT_FALSE(w.timerPool()->isEnabled(w.panelColorTrigger()));
    EXPECT_EQ(sound_, (std::vector<bool>{true, false}));
    // Cleared within the minute: the next check in it stays quiet.
    checkAt(10, 30, 55);
    EXPECT_FALSE(w.alarmBusy());
}

TEST_F(AlarmWindowTest, HideAcknowledgesTheAlarmSoLaterAlarmsStillFireFromTheTray) {
    writeStore({{"36526.100", "10:30 AM", "", "First", "No", "Yes"},
                {"36526.101", "11:00 AM", "", "Second", "No", "Yes"}});
    MainWindow& w = withSound();
    w.tray().setAvailable(true);
    checkAt(10, 30, 10);
    ASSERT_TRUE(w.alarmBusy());
    w.actions().hide->trigger();
    EXPECT_FALSE(w.alarmBusy());
    EXPECT_FALSE(alarms().panel()->isVisible());
    EXPECT_EQ(sound_, (std::vector<bool>{true, false}));
    EXPECT_FALSE(w.isVisible());
    // The next alarm brings the window back out of the tray.
    checkAt(11, 0, 5);
    EXPECT_TRUE(w.alarmBusy());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(alarms().panel()->text(), "Alarm \"Second\" at 11:00 AM ... click panel to clear");
}

TEST_F(AlarmWindowTest, WhileAnAlarmShowsChecksWaitAndThenCatchUp) {
    writeStore({{"36526.100", "10:30 AM", "", "First", "No", "Yes"},
                {"36526.101", "10:31 AM", "", "Second", "No", "Yes"}});
    MainWindow& w = withSound();
    checkAt(10, 30, 10);
    checkAt(10, 31, 0);
    EXPECT_EQ(alarms().panel()->text(), "Alarm \"First\" at 10:30 AM ... click panel to clear");
    QTest::mouseClick(alarms().panel(), Qt::LeftButton);
    checkAt(10, 32, 40);
    EXPECT_EQ(alarms().panel()->text(),
              "Alarm \"Second\" at 10:31 AM (missed) ... click panel to clear");
    EXPECT_TRUE(w.alarmBusy());
}

TEST_F(AlarmWindowTest, TheMasterSwitchSilencesPanelAndNotification) {
    writeStore({{"36526.100", "10:30 AM", "", "First", "No", "Yes"}});
    setOption("PlayAlarm", "0");
    MainWindow& w = withSound();
    checkAt(10, 30, 10);
    EXPECT_FALSE(w.alarmBusy());
    EXPECT_TRUE(alarms().lastNotification().isEmpty());
    EXPECT_TRUE(sound_.empty());
}

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The command line's alarm list and the running window's alarms, on one data folder and
// one span: the same announcements at the same checks.
TEST_F(AlarmWindowTest, TheCommandLineListsExactlyTheAlarmsTheWindowRaises) {
    writeStore({{"36526.100", "10:30 AM", "", "Dentist\r\nbring the card", "No", "Yes"},
                {"36526.101", "10:30 AM", "Work", "Call the office", "No", "Yes"},
                {"36526.102", "11:45 AM", "", "Stalled over", "No", "Yes"},
                {"36526.103", "11:50 PM", "", "No alarm", "No", "No"},
                {"36527.100", "12:10 AM", "", "Just after midnight", "No", "Yes"},
                {"36527.101", "half past", "", "Unreadable", "No", "Yes"}});
    setOption("AlarmMin", "15");
    withSound();
    const DateSerial from = kToday + timeFraction(10, 0);
    const DateSerial to = kToday + 1 + timeFraction(1, 0);
    const std::vector<AlarmStall> stalls = {
        {kToday + timeFraction(11, 28), kToday + timeFraction(11, 33)}};

    std::ostringstream windowLines;
    for (const DateSerial t : alarmCheckTimes(from, to, 50, stalls)) {
        clock_->setNow(t);
        window().onTimerTrigger(window().alarmTrigger());
        if (!window().alarmBusy())
            continue;
        for (const AlarmAnnouncement& a : alarms().lastAnnounced())
            windowLines << formatDateTime("yyyy-mm-dd hh:nn:ss", t, state_->fs()) << '\t'
                        << formatDateTime("yyyy-mm-dd", a.date, state_->fs()) << '\t' << a.time
                        << '\t' << firstLine(a.what) << (a.missed ? "\tmissed" : "") << '\n';
        QTest::mouseClick(alarms().panel(), Qt::LeftButton);
    }

    test::TempDir config;
    const std::string cmd = "LC_ALL=en_US.UTF-8 XDG_CONFIG_HOME=" + quoted(config.path()) + " " +
                            quoted(DAYWEAVER_CLI) + " --data " + quoted(dir_.path()) +
                            " alarms --from '2000-01-01 10:00' --to '2000-01-02 01:00'" +
                            " --lead 15 --stall '2000-01-01 11:28,2000-01-01 11:33' > " +
                            quoted(config.file("out"));
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_EQ(config.read("out"), windowLines.str());
    EXPECT_EQ(windowLines.str(),
              "2000-01-01 10:15:00\t2000-01-01\t10:30 AM\tDentist\n"
              "2000-01-01 10:15:00\t2000-01-01\t10:30 AM\tCall the office\n"
              "2000-01-01 11:33:00\t2000-01-01\t11:45 AM\tStalled over\tmissed\n"
              "2000-01-01 23:55:30\t2000-01-02\t12:10 AM\tJust after midnight\n");
}

} // namespace
} // namespace dw
