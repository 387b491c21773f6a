#include "app/settings/options_dialog.h"

#include "app/settings/color_dialog.h"
#include "app/settings/font_spec.h"
#include "app/sync/sync_options_page.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/settings/option_keys.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "platform/autostart.h"

#include <QAudioDevice>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QLineEdit>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSoundEffect>
#include <QSpinBox>
#include <QUrl>

namespace dw {

namespace {

constexpr WinColor kShadowTitleColor = 0x00FF0000; // blue
constexpr WinColor kPlainTitleColor = 0x00800000;  // navy
const char* const kSoundFilter = "Wav sound files (*.wav)|*.wav|All files (*.*)|*.*";

} // namespace

OptionsDialog::~OptionsDialog() = default;

// ---------------------------------------------------------------------------------------

void OptionsDialog::readSettings() {
    const bool colorHoliday = options_.colorHoliday; // has no key: kept as it is
    options_ = readOptions(store_, shippedDir_, checkAutostart());
    options_.colorHoliday = colorHoliday;
    showOptionsInControls();
}

void OptionsDialog::showOptionsInControls() {
    loading_ = true;
    const Options& o = options_;
    shadowsCheck_->setChecked(o.shadows);
    strikeoutCheck_->setChecked(o.strikeOut);
    sundayRadio_->setChecked(o.sunday);
    mondayRadio_->setChecked(!o.sunday);
    colorDoneCheck_->setChecked(o.colorDone);
    colorNotDoneCheck_->setChecked(o.colorNotDone);
    colorHolidayCheck_->setChecked(o.colorHoliday);
    doneSample_->setColors(o.doneFG, o.doneBG);
    notDoneSample_->setColors(o.notDoneFG, o.notDoneBG);
    holidaySample_->setColors(o.holidayFG, o.holidayBG);
    rowHeightSpin_->setValue(o.rowHeight);
    alarmCheck_->setChecked(o.playAlarm);
    repeatSoundCheck_->setChecked(o.repeatAlarm);
    soundPathEdit_->setText(QString::fromStdString(o.alarmPath));
    leadMinutesSpin_->setValue(o.alarmMin);
    defaultCategoryEdit_->setText(QString::fromStdString(o.category));
    confirmCheck_->setChecked(o.confirm);
    dragConfirmCheck_->setChecked(o.dragConfirm);
    startInTrayCheck_->setChecked(o.autoStart);
    startAtLogonCheck_->setChecked(o.startup);
    popupSummaryCheck_->setChecked(o.popup);
    syncPage_->load();
    applyFontsToButtons();
    applyTitleLook();
    loading_ = false;
}

void OptionsDialog::applyFontsToButtons() {
    gridFontButton_->setFont(toQFont(options_.gridFont));
    calendarFontButton_->setFont(toQFont(options_.calFont));
    titleCaption_->setFont(toQFont(options_.titleFont));
    // The header button shows the title face and style at its own size.
    QFont header = toQFont(options_.titleFont);
    header.setPointSizeF(font().pointSizeF());
    headerFontButton_->setFont(header);
    headerFontButton_->setToolTip(
        QString("%1, %2 pt").arg(fontDescription(options_.titleFont)).arg(options_.titleFont.size));
}

void OptionsDialog::applyTitleLook() {
    const bool on = options_.shadows;
    titleCaption_->setShadowDepth(on ? 4 : 1);
    titleCaption_->setTextColor(toQColor(on ? kShadowTitleColor : kPlainTitleColor));
}

void OptionsDialog::showEvent(QShowEvent* e) {
    // Another command (the hover summary's menu) may have changed an option meanwhile.
    showOptionsInControls();
    QDialog::showEvent(e);
    // Centred on the screen the first time; after that it opens where the user left it.
    if (!centred_) {
        if (QScreen* screen = this->screen()) {
            QRect r = frameGeometry();
            r.moveCenter(screen->availableGeometry().center());
            move(r.topLeft());
        }
        centred_ = true;
    }
}

// ---------------------------------------------------------------------------------------

bool OptionsDialog::checkAutostart() const {
    return autostartEntryExists();
}

bool OptionsDialog::writeAutostart(bool on) {
    std::string error;
    if (dw::writeAutostart(on, programPath_, error))
        return true;
    prompts_.error(error);
    return false;
}

bool OptionsDialog::saveSettings() {
    // The log-on entry first. Unlike a refusal there, nothing else is lost: the options
    // are saved whether or not the entry could be written.
    const bool entryOk = writeAutostart(options_.startup);
    const bool saved = saveOptions(store_, options_);
    if (saved)
        options_.firstTime = "first";
    else
        prompts_.error("The program options could not be saved.");
    const bool syncSaved = syncPage_->save();
    return entryOk && saved && syncSaved;
}

void OptionsDialog::onOkClicked() {
    saveSettings();
    accept();
}

void OptionsDialog::onShadowsToggled(bool on) {
    if (loading_)
        return;
    options_.shadows = on;
    applyTitleLook();
    emit shadowsChanged(on);
}

void OptionsDialog::onStrikeoutToggled(bool on) {
    if (loading_)
        return;
    options_.strikeOut = on;
    if (isVisible()) {
        emit calendarsNeedRepaint();
        emit dayViewNeedsRefresh();
    }
}

void OptionsDialog::onColorSwitchToggled() {
    if (loading_)
        return;
    options_.colorDone = colorDoneCheck_->isChecked();
    options_.colorNotDone = colorNotDoneCheck_->isChecked();
    options_.colorHoliday = colorHolidayCheck_->isChecked();
    emit calendarsNeedRepaint();
}

void OptionsDialog::chooseSampleColors(ColorSample* sample, const QString& caption, WinColor& fg,
                                       WinColor& bg) {
    if (loading_)
        return;
    ColorDialog dlg(this);
    dlg.setWindowTitle(caption);
    dlg.setColors(fg, bg);
    dlg.setSundayFirst(options_.sunday);
    if (dlg.exec() == QDialog::Accepted) {
        fg = dlg.foreground();
        bg = dlg.background();
        sample->setColors(fg, bg);
    }
    emit calendarsNeedRepaint();
}

bool OptionsDialog::chooseFont(FontSpec& font) {
    QFontDialog dlg(toQFont(font), this);
    dlg.setObjectName("fontDialog");
    if (dlg.exec() != QDialog::Accepted)
        return false;
    font = fromQFont(dlg.selectedFont());
    return true;
}

void OptionsDialog::chooseGridFont() {
    if (loading_ || !chooseFont(options_.gridFont))
        return;
    applyFontsToButtons();
    emit gridFontChanged();
}

void OptionsDialog::chooseCalendarFont() {
    if (loading_ || !chooseFont(options_.calFont))
        return;
    applyFontsToButtons();
    emit calendarFontChanged();
}

void OptionsDialog::chooseHeaderFont() {
    // The main window takes the title font when its settings are next applied.
    if (loading_ || !chooseFont(options_.titleFont))
        return;
    applyFontsToButtons();
}

void OptionsDialog::browseSoundFile() {
    const std::string file =
        prompts_.openFileName("Sound Files", soundPathEdit_->text().toStdString(), kSoundFilter);
    if (!file.empty())
        soundPathEdit_->setText(QString::fromStdString(file));
}

void OptionsDialog::testSound() {
    if (testSoundButton_->text() != "&Test") {
        testSoundButton_->setText("&Test");
        playAlarmSound(false);
        return;
    }
    // The alarm itself stays silent without a sound; the test says why.
    const std::string path = options_.alarmPath;
    if (isBlankText(path) || !fileExists(path)) {
        prompts_.error("The alarm sound file cannot be found: " + path);
        return;
    }
    if (repeatSoundCheck_->isChecked())
        testSoundButton_->setText("&Stop");
    playAlarmSound(true);
    if (sound_)
        reportUnplayableSound(path);
}

void OptionsDialog::reportUnplayableSound(const std::string& path) {
    // The file loads after play() returns: one look at the outcome, then the watch ends.
    auto watch = std::make_shared<QMetaObject::Connection>();
    auto check = [this, watch, path] {
        const QSoundEffect::Status status = sound_->status();
        if (status == QSoundEffect::Loading || status == QSoundEffect::Null)
            return;
        disconnect(*watch);
        if (status == QSoundEffect::Error) {
            testSoundButton_->setText("&Test");
            prompts_.error(QMediaDevices::audioOutputs().isEmpty()
                               ? "There is no sound device to play the alarm sound on."
                               : "The alarm sound file cannot be played: " + path);
        }
    };
    *watch = connect(sound_.get(), &QSoundEffect::statusChanged, this, check);
    check();
}

void OptionsDialog::playAlarmSound(bool on) {
    if (!on) {
        if (sound_)
            sound_->stop();
        return;
    }
    const std::string path = options_.alarmPath;
    if (isBlankText(path) || !fileExists(path))
        return;
    if (!sound_)
        sound_ = std::make_unique<QSoundEffect>();
    sound_->stop();
    sound_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    sound_->setLoopCount(options_.repeatAlarm ? QSoundEffect::Infinite : 1);
    sound_->play();
}

} // namespace dw
