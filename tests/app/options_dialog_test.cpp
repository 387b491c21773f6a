#include "app/modal_helpers.h"
#include "app/settings/color_dialog.h"
#include "app/settings/options_dialog.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/settings/option_keys.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::whenModal;

// Clicks a check box or radio button on its indicator, as a user would: the middle of a
// box stretched across the page is blank space.
void clickBox(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// A tiny silent PCM wave file.
std::string waveBytes() {
    auto le = [](std::uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    const std::uint32_t samples = 800;
    return "RIFF" + le(36 + samples * 2, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(8000, 4) + le(16000, 4) + le(2, 2) + le(16, 2) + "data" + le(samples * 2, 4) +
           std::string(samples * 2, '\0');
}

class OptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldXdg_ = qgetenv("XDG_CONFIG_HOME");
        hadXdg_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.file("config")));
    }
    void TearDown() override {
        if (hadXdg_)
            qputenv("XDG_CONFIG_HOME", oldXdg_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    template <typename T> T* get(OptionsDialog& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    std::string programPath() const { return dir_.file("bin/dayweaver"); }
    std::string shippedDir() const { return dir_.file("share/dayweaver"); }
    std::string entryPath() const { return dir_.file("config/autostart/dayweaver.desktop"); }
    bool entryExists() const { return std::filesystem::exists(entryPath()); }

    test::TempDir dir_;
    test::FakePrompts fake_;
    MapSettingsBackend backend_;
    SettingsStore store_{backend_};
    Options options_;
    QByteArray oldXdg_;
    bool hadXdg_ = false;
};

TEST_F(OptionsWindowTest, ShowsTheStoredOptionsWithTheirCaptions) {
    backend_.setValue("Options", "RowHeight", "60");
    backend_.setValue("Options", "AlarmMin", "200");
    backend_.setValue("Options", "Shadows", "0");
    backend_.setValue("Options", "DoneColorFG", "0xFF");
    backend_.setValue("Options", "Sunday", "0");
    backend_.setValue("Options", "Category", "Work");
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());

    EXPECT_EQ(w.windowTitle(), "Program Options");
    auto* pages = get<QTabWidget>(w, "pages");
    EXPECT_EQ(pages->currentIndex(), 0);
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), "Screen Appearance");
    EXPECT_EQ(pages->tabText(1), "Alarm settings");
    EXPECT_EQ(pages->tabText(2), "Miscellaneous");
    EXPECT_EQ(pages->tabText(3), "Sync");
    EXPECT_EQ(get<ShadowLabel>(w, "titleCaption")->text(), "Program Options");
    EXPECT_EQ(get<QLabel>(w, "footerLabel")->text(), "Dayweaver");

    const std::pair<const char*, const char*> captions[] = {
        {"shadowsCheck", "Use Sh&adows on Title captions"},
        {"strikeoutCheck", "&Strike-out done events?"},
        {"sundayRadio", "S&unday"},
        {"mondayRadio", "&Monday"},
        {"colorDoneCheck", "&Done Items"},
        {"colorNotDoneCheck", "&Not-done items"},
        {"colorHolidayCheck", "&Holidays"},
        {"gridFontButton", "Grid Font"},
        {"calendarFontButton", "Calendar Font"},
        {"headerFontButton", "Header font"},
        {"alarmCheck", "&Play alarm file?"},
        {"repeatSoundCheck", "&Repeat alarm?"},
        {"browseSoundButton", "&Browse"},
        {"testSoundButton", "&Test"},
        {"confirmCheck", "D&eleting tasks/holidays"},
        {"dragConfirmCheck", "D&rag/dropping from grids to grid or calendar"},
        {"startInTrayCheck", "&Start in system tray, main screen is bypassed"},
        {"startAtLogonCheck", "&Dayweaver placed in system tray on reboot"},
        {"popupSummaryCheck", "Display a &popup summary of events "},
        {"okButton", "OK"},
        {"cancelButton", "Cancel"},
        {"helpButton", "&Help"},
    };
    for (const auto& [name, caption] : captions) {
        if (auto* b = get<QAbstractButton>(w, name)) {
            EXPECT_EQ(b->text(), caption) << name;
        }
    }
    EXPECT_EQ(get<QLabel>(w, "doneSample")->text(), "Done");
    EXPECT_EQ(get<QLabel>(w, "notDoneSample")->text(), "Not Done");
    EXPECT_EQ(get<QLabel>(w, "holidaySample")->text(), "Holiday");
    EXPECT_TRUE(get<QPushButton>(w, "okButton")->isDefault());

    // Values, limits and the first-start log-on offer.
    auto* rowHeight = get<QSpinBox>(w, "rowHeightSpin");
    EXPECT_EQ(rowHeight->value(), 50);
    EXPECT_EQ(rowHeight->minimum(), 8);
    auto* lead = get<QSpinBox>(w, "leadMinutesSpin");
    EXPECT_EQ(lead->value(), 120);
    EXPECT_EQ(lead->minimum(), 0);
    EXPECT_EQ(options_.rowHeight, 50);
    EXPECT_FALSE(get<QCheckBox>(w, "shadowsCheck")->isChecked());
    EXPECT_TRUE(get<QRadioButton>(w, "mondayRadio")->isChecked());
    EXPECT_FALSE(get<QRadioButton>(w, "sundayRadio")->isChecked());
    EXPECT_TRUE(get<QCheckBox>(w, "startAtLogonCheck")->isChecked());
    EXPECT_TRUE(options_.startup);
    EXPECT_EQ(get<ColorSample>(w, "doneSample")->foreground(), 255u);
    EXPECT_EQ(get<ColorSample>(w, "doneSample")->background(), 0x00FFFF00u);
    EXPECT_EQ(get<QLineEdit>(w, "defaultCategoryEdit")->text(), "Work");
    EXPECT_EQ(get<QLineEdit>(w, "soundPathEdit")->text().toStdString(),
              dir_.file("share/dayweaver/alarm.wav"));
    // Shadows off: the plain title look.
    auto* title = get<ShadowLabel>(w, "titleCaption");
    EXPECT_EQ(title->shadowDepth(), 1);
    EXPECT_EQ(title->textColor(), toQColor(0x00800000));
    // Reading wrote nothing.
    EXPECT_EQ(backend_.values().size(), 6u);
    EXPECT_FALSE(entryExists());
}

TEST_F(OptionsWindowTest, OkWritesTheStoreAndTheLogOnEntry) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    QTest::mouseClick(get<QPushButton>(w, "okButton"), Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(backend_.value("Options", "FirstTime"), "first");
    EXPECT_EQ(backend_.value("Options", "RowHeight"), "16");
    EXPECT_EQ(backend_.value("Options", "AlarmPath"), dir_.file("share/dayweaver/alarm.wav"));
    EXPECT_EQ(backend_.values().size(), 40u);
    EXPECT_EQ(options_.firstTime, "first");
    ASSERT_TRUE(entryExists());
    EXPECT_NE(dir_.read("config/autostart/dayweaver.desktop").find("Exec=" + programPath()),
              std::string::npos);
    EXPECT_TRUE(fake_.errors.empty());

    // Unticked and saved again: the entry goes, and the next start sees it off.
    w.show();
    get<QTabWidget>(w, "pages")->setCurrentIndex(2);
    clickBox(get<QCheckBox>(w, "startAtLogonCheck"));
    QTest::mouseClick(get<QPushButton>(w, "okButton"), Qt::LeftButton);
    EXPECT_FALSE(entryExists());
    Options next;
    OptionsDialog again(next, store_, fake_, programPath(), shippedDir());
    EXPECT_FALSE(next.startup);
    EXPECT_FALSE(get<QCheckBox>(again, "startAtLogonCheck")->isChecked());
}

TEST_F(OptionsWindowTest, CancelWritesNothingButTheChangeStaysInEffect) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    clickBox(get<QCheckBox>(w, "shadowsCheck"));
    clickBox(get<QRadioButton>(w, "mondayRadio"));
    QTest::keyClicks(get<QLineEdit>(w, "defaultCategoryEdit"), "Errands and more errands!");
    QTest::mouseClick(get<QPushButton>(w, "cancelButton"), Qt::LeftButton);

    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(backend_.values().empty());
    EXPECT_FALSE(entryExists());
    EXPECT_FALSE(options_.shadows);
    EXPECT_FALSE(options_.sunday);
    EXPECT_EQ(options_.category, "Errands and more err"); // at most 20 characters
    // Shown again, the controls still hold the change.
    w.show();
    EXPECT_FALSE(get<QCheckBox>(w, "shadowsCheck")->isChecked());
    EXPECT_TRUE(get<QRadioButton>(w, "mondayRadio")->isChecked());
}

TEST_F(OptionsWindowTest, UnwritableLogOnEntryIsReportedAndTheRestIsSaved) {
    std::filesystem::create_directories(dir_.file("config"));
    dir_.write("config/autostart", "a file where the folder should be");
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    get<QTabWidget>(w, "pages")->setCurrentIndex(2);
    clickBox(get<QCheckBox>(w, "confirmCheck"));
    QTest::mouseClick(get<QPushButton>(w, "okButton"), Qt::LeftButton);

    ASSERT_EQ(fake_.errors.size(), 1u);
    EXPECT_NE(fake_.errors[0].find("autostart"), std::string::npos) << fake_.errors[0];
    EXPECT_EQ(backend_.value("Options", "FirstTime"), "first");
    EXPECT_EQ(backend_.value("Options", "Confirm"), "0");
    EXPECT_EQ(backend_.values().size(), 40u);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(OptionsWindowTest, ReadingSettingsRunsNoReaction) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    QSignalSpy shadows(&w, &OptionsDialog::shadowsChanged);
    QSignalSpy repaint(&w, &OptionsDialog::calendarsNeedRepaint);
    QSignalSpy day(&w, &OptionsDialog::dayViewNeedsRefresh);
    QSignalSpy rows(&w, &OptionsDialog::rowHeightChanged);
    QSignalSpy grid(&w, &OptionsDialog::gridFontChanged);
    QSignalSpy cal(&w, &OptionsDialog::calendarFontChanged);
    for (const char* name : {"Shadows", "StrikeOut", "DoneColor", "NotDoneColor", "Sunday"})
        backend_.setValue("Options", name, "0");
    backend_.setValue("Options", "RowHeight", "30");
    backend_.setValue("Options", "GridFontSize", "12");
    w.readSettings();

    EXPECT_FALSE(get<QCheckBox>(w, "shadowsCheck")->isChecked());
    EXPECT_FALSE(get<QCheckBox>(w, "strikeoutCheck")->isChecked());
    EXPECT_FALSE(get<QCheckBox>(w, "colorDoneCheck")->isChecked());
    EXPECT_EQ(get<QSpinBox>(w, "rowHeightSpin")->value(), 30);
    EXPECT_EQ(options_.gridFont.size, 12);
    for (QSignalSpy* spy : {&shadows, &repaint, &day, &rows, &grid, &cal})
        EXPECT_EQ(spy->count(), 0) << spy->signal().constData();
}

TEST_F(OptionsWindowTest, ClicksTakeEffectAtOnce) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QSignalSpy shadows(&w, &OptionsDialog::shadowsChanged);
    QSignalSpy repaint(&w, &OptionsDialog::calendarsNeedRepaint);
    QSignalSpy day(&w, &OptionsDialog::dayViewNeedsRefresh);
    QSignalSpy rows(&w, &OptionsDialog::rowHeightChanged);
    QSignalSpy help(&w, &OptionsDialog::helpRequested);

    clickBox(get<QCheckBox>(w, "shadowsCheck"));
    ASSERT_EQ(shadows.count(), 1);
    EXPECT_FALSE(shadows[0][0].toBool());
    EXPECT_FALSE(options_.shadows);
    EXPECT_EQ(get<ShadowLabel>(w, "titleCaption")->shadowDepth(), 1);
    clickBox(get<QCheckBox>(w, "shadowsCheck"));
    EXPECT_TRUE(shadows[1][0].toBool());
    EXPECT_EQ(get<ShadowLabel>(w, "titleCaption")->shadowDepth(), 4);
    EXPECT_EQ(get<ShadowLabel>(w, "titleCaption")->textColor(), toQColor(0x00FF0000));

    clickBox(get<QCheckBox>(w, "colorDoneCheck"));
    clickBox(get<QCheckBox>(w, "colorHolidayCheck"));
    EXPECT_EQ(repaint.count(), 2);
    EXPECT_FALSE(options_.colorDone);
    EXPECT_FALSE(options_.colorHoliday);

    clickBox(get<QCheckBox>(w, "strikeoutCheck"));
    EXPECT_FALSE(options_.strikeOut);
    EXPECT_EQ(day.count(), 1);
    EXPECT_EQ(repaint.count(), 3);

    get<QSpinBox>(w, "rowHeightSpin")->setValue(30);
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows[0][0].toInt(), 30);
    EXPECT_EQ(options_.rowHeight, 30);

    get<QTabWidget>(w, "pages")->setCurrentIndex(1);
    get<QSpinBox>(w, "leadMinutesSpin")->setValue(15);
    clickBox(get<QCheckBox>(w, "alarmCheck"));
    EXPECT_EQ(options_.alarmMin, 15);
    EXPECT_FALSE(options_.playAlarm);
    get<QTabWidget>(w, "pages")->setCurrentIndex(2);
    clickBox(get<QCheckBox>(w, "popupSummaryCheck"));
    clickBox(get<QCheckBox>(w, "startInTrayCheck"));
    EXPECT_FALSE(options_.popup);
    EXPECT_TRUE(options_.autoStart);

    QTest::mouseClick(get<QPushButton>(w, "helpButton"), Qt::LeftButton);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help[0][0].toInt(), 400);
    EXPECT_TRUE(w.isVisible());

    // Strike-out changed while the window is hidden: nothing to refresh.
    w.hide();
    get<QCheckBox>(w, "strikeoutCheck")->click();
    EXPECT_TRUE(options_.strikeOut);
    EXPECT_EQ(day.count(), 1);
    EXPECT_TRUE(backend_.values().empty());
}

TEST_F(OptionsWindowTest, ColourSampleOpensTheColourDialog) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    QSignalSpy repaint(&w, &OptionsDialog::calendarsNeedRepaint);
    auto* sample = get<ColorSample>(w, "notDoneSample");

    QString caption;
    WinColor shownFG = 1, shownBG = 1;
    whenModal<ColorDialog>([&](ColorDialog* d) {
        caption = d->windowTitle();
        shownFG = d->foreground();
        shownBG = d->background();
        d->foregroundCombo()->setCurrentIndex(d->foregroundCombo()->findText("Black"));
        d->backgroundCombo()->setCurrentIndex(d->backgroundCombo()->findText("Lime"));
        d->accept();
    });
    QTest::mouseClick(sample, Qt::LeftButton);
    EXPECT_EQ(caption, "Set color for NOT DONE tasks");
    EXPECT_EQ(shownFG, 0x00FFFFFFu);
    EXPECT_EQ(shownBG, 0x000000FFu);
    EXPECT_EQ(options_.notDoneFG, 0u);
    EXPECT_EQ(options_.notDoneBG, 0x0000FF00u);
    EXPECT_EQ(sample->background(), 0x0000FF00u);
    EXPECT_EQ(repaint.count(), 1);

    // Cancelled: nothing changes, the calendars repaint all the same. Keyboard opens it too.
    whenModal<ColorDialog>([&](ColorDialog* d) {
        caption = d->windowTitle();
        d->backgroundCombo()->setCurrentIndex(d->backgroundCombo()->findText("Navy"));
        d->reject();
    });
    auto* holiday = get<ColorSample>(w, "holidaySample");
    holiday->setFocus();
    QTest::keyClick(holiday, Qt::Key_Space);
    EXPECT_EQ(caption, "Set color for Holidays");
    EXPECT_EQ(options_.holidayBG, 0x0000FFFFu);
    EXPECT_EQ(holiday->background(), 0x0000FFFFu);
    EXPECT_EQ(repaint.count(), 2);
}

TEST_F(OptionsWindowTest, FontButtonsTakeTheChosenFont) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    QSignalSpy grid(&w, &OptionsDialog::gridFontChanged);
    QSignalSpy cal(&w, &OptionsDialog::calendarFontChanged);

    whenModal<QFontDialog>([](QFontDialog* d) {
        QFont f("DejaVu Sans", 12);
        f.setBold(true);
        d->setCurrentFont(f);
        d->accept();
    });
    QTest::mouseClick(get<QPushButton>(w, "gridFontButton"), Qt::LeftButton);
    EXPECT_EQ(grid.count(), 1);
    EXPECT_EQ(options_.gridFont.size, 12);
    EXPECT_TRUE(options_.gridFont.bold);
    EXPECT_EQ(get<QPushButton>(w, "gridFontButton")->font().pointSize(), 12);

    whenModal<QFontDialog>([](QFontDialog* d) { d->reject(); });
    QTest::mouseClick(get<QPushButton>(w, "calendarFontButton"), Qt::LeftButton);
    EXPECT_EQ(cal.count(), 0);
    EXPECT_EQ(options_.calFont, (FontSpec{"Ms Sans Serif", 8}));

    // The title font changes the caption only; the main window waits for its next apply.
    whenModal<QFontDialog>([](QFontDialog* d) {
        QFont f("DejaVu Serif", 24);
        f.setItalic(true);
        d->setCurrentFont(f);
        d->accept();
    });
    QTest::mouseClick(get<QPushButton>(w, "headerFontButton"), Qt::LeftButton);
    EXPECT_EQ(options_.titleFont.size, 24);
    EXPECT_TRUE(options_.titleFont.italic);
    EXPECT_EQ(get<ShadowLabel>(w, "titleCaption")->font().pointSize(), 24);
    EXPECT_TRUE(get<QPushButton>(w, "headerFontButton")->font().italic());
    EXPECT_EQ(grid.count() + cal.count(), 1);
}

TEST_F(OptionsWindowTest, BrowseAndTestTheAlarmSound) {
    OptionsDialog w(options_, store_, fake_, programPath(), shippedDir());
    w.show();
    auto* path = get<QLineEdit>(w, "soundPathEdit");
    auto* test = get<QPushButton>(w, "testSoundButton");
    const std::string before = options_.alarmPath;

    fake_.setNextFileName(""); // cancelled
    QTest::mouseClick(get<QPushButton>(w, "browseSoundButton"), Qt::LeftButton);
    EXPECT_EQ(options_.alarmPath, before);

    dir_.write("ring.wav", waveBytes());
    fake_.setNextFileName(dir_.file("ring.wav"));
    QTest::mouseClick(get<QPushButton>(w, "browseSoundButton"), Qt::LeftButton);
    EXPECT_EQ(path->text().toStdString(), dir_.file("ring.wav"));
    EXPECT_EQ(options_.alarmPath, dir_.file("ring.wav"));

    // Repeating: the button offers to stop, then goes back to testing.
    QTest::mouseClick(test, Qt::LeftButton);
    EXPECT_EQ(test->text(), "&Stop");
    QTest::mouseClick(test, Qt::LeftButton);
    EXPECT_EQ(test->text(), "&Test");
    // Once only: the caption stays.
    clickBox(get<QCheckBox>(w, "repeatSoundCheck"));
    QTest::mouseClick(test, Qt::LeftButton);
    EXPECT_EQ(test->text(), "&Test");
    // A missing file plays nothing; the test says why (the alarm itself stays silent). (A
    // machine without a sound device reports the other tests too, once the file has loaded.)
    fake_.errors.clear();
    path->setText(QString::fromStdString(dir_.file("missing.wav")));
    QTest::mouseClick(test, Qt::LeftButton);
    EXPECT_EQ(fake_.errors, (std::vector<std::string>{"The alarm sound file cannot be found: " +
                                                      dir_.file("missing.wav")}));
    EXPECT_EQ(test->text(), "&Test");
    fake_.errors.clear();
    path->setText("  ");
    w.playAlarmSound(true);
    w.playAlarmSound(false);
    EXPECT_TRUE(fake_.errors.empty());
    EXPECT_TRUE(fake_.infos.empty());
}

} // namespace
} // namespace dw
