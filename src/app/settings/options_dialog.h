#pragma once

#include "app/settings/color_sample.h"
#include "core/prompts/prompts.h"
#include "core/settings/options.h"
#include "core/settings/settings_store.h"

#include <QDialog>
#include <memory>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSoundEffect;
class QSpinBox;
class QTabWidget;

namespace dw {

class ShadowLabel;
class SyncOptionsPage;

// The program options window. It lives for the whole run and edits the application's
// Options: every control writes its value into Options at once, so the rest of the
// program sees a change while the window is still open. "OK" also writes the options
// to the settings store; "Cancel" only closes (changes stay in effect until exit, the
// store keeps the old values for the next start).
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // programPath is what the log-on entry starts; shippedDir holds the default alarm sound.
    OptionsDialog(Options& options, SettingsStore& store, Prompts& prompts, std::string programPath,
                  std::string shippedDir, QWidget* parent = nullptr);
    // The default alarm sound beside the program, as in a build tree.
    OptionsDialog(Options& options, SettingsStore& store, Prompts& prompts,
                  const std::string& programPath, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    // Reads every option from the store into Options and the controls; no reaction runs
    // and no signal is sent meanwhile. Run once at creation.
    void readSettings();
    // Sets or removes the log-on entry, then writes every option to the store. A log-on
    // entry that cannot be written is reported and the options are saved all the same.
    // False when anything could not be written.
    bool saveSettings();

    // The log-on entry exists and names a program.
    bool checkAutostart() const;
    // Sets (on) or removes (off) the log-on entry; reports a failure as an error.
    bool writeAutostart(bool on);

    // on: plays the alarm file (looped when repeat is on) when its path is not blank and
    // the file exists; off: stops any sound playing.
    void playAlarmSound(bool on);

    Options& options() { return options_; }

signals:
    void shadowsChanged(bool on);
    void calendarsNeedRepaint();
    void dayViewNeedsRefresh();
    void rowHeightChanged(int height);
    void gridFontChanged();
    void calendarFontChanged();
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QWidget* buildScreenPage();
    QWidget* buildAlarmPage();
    QWidget* buildMiscPage();
    void showOptionsInControls();
    void applyTitleLook();
    void applyFontsToButtons();

    void onOkClicked();
    void onShadowsToggled(bool on);
    void onStrikeoutToggled(bool on);
    void onColorSwitchToggled();
    void chooseSampleColors(ColorSample* sample, const QString& caption, WinColor& fg,
                            WinColor& bg);
    void chooseGridFont();
    void chooseCalendarFont();
    void chooseHeaderFont();
    void browseSoundFile();
    void testSound();
    void reportUnplayableSound(const std::string& path);
    bool chooseFont(FontSpec& font);

    Options& options_;
    SettingsStore& store_;
    Prompts& prompts_;
    std::string programPath_;
    std::string shippedDir_;
    bool loading_ = false;
    bool centred_ = false;

    ShadowLabel* titleCaption_;
    QTabWidget* pages_;
    // Screen Appearance
    QCheckBox* shadowsCheck_;
    QCheckBox* strikeoutCheck_;
    QRadioButton* sundayRadio_;
    QRadioButton* mondayRadio_;
    QCheckBox* colorDoneCheck_;
    QCheckBox* colorNotDoneCheck_;
    QCheckBox* colorHolidayCheck_;
    ColorSample* doneSample_;
    ColorSample* notDoneSample_;
    ColorSample* holidaySample_;
    QPushButton* gridFontButton_;
    QPushButton* calendarFontButton_;
    QPushButton* headerFontButton_;
    QSpinBox* rowHeightSpin_;
    // Alarm settings
    QCheckBox* alarmCheck_;
    QCheckBox* repeatSoundCheck_;
    QLineEdit* soundPathEdit_;
    QPushButton* browseSoundButton_;
    QPushButton* testSoundButton_;
    QSpinBox* leadMinutesSpin_;
    // Miscellaneous
    QLineEdit* defaultCategoryEdit_;
    QCheckBox* confirmCheck_;
    QCheckBox* dragConfirmCheck_;
    QCheckBox* startInTrayCheck_;
    QCheckBox* startAtLogonCheck_;
    QCheckBox* popupSummaryCheck_;
    // Sync (its own page: the account lives in its own settings group and the keyring)
    SyncOptionsPage* syncPage_;

    std::unique_ptr<QSoundEffect> sound_;
};

} // namespace dw
