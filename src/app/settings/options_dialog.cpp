#include "app/settings/options_dialog.h"

#include "app/settings/color_dialog.h"
#include "app/settings/font_spec.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/prompts/prompts.h"
#include "core/settings/option_keys.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"
#include "platform/autostart.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSoundEffect>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace dw {

namespace {

constexpr int kHelpTopic = 400;
constexpr WinColor kShadowTitleColor = 0x00FF0000; // blue
constexpr WinColor kPlainTitleColor = 0x00800000;  // navy
const char* const kSoundFilter = "Wav sound files (*.wav)|*.wav|All files (*.*)|*.*";

// Controls carry their names as objectName, so other code and tests can find them.
template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent) {
    return named(new QCheckBox(caption, parent), name);
}

// A caption whose mnemonic moves the focus to its control.
QLabel* buddyLabel(const char* caption, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

// ---------------------------------------------------------------------------------------

ColorSample::ColorSample(const QString& objectName, const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Click to change the colours");
    setMinimumSize(80, 22);
    restyle();
}

void ColorSample::setColors(WinColor foreground, WinColor background) {
    fg_ = foreground;
    bg_ = background;
    restyle();
}

void ColorSample::restyle() {
    // A thicker frame while focused, so keyboard users see where they are.
    const int border = hasFocus() ? 2 : 1;
    setStyleSheet(QString("QLabel { color: %1; background-color: %2; border: %3px solid %4; }")
                      .arg(toQColor(fg_).name(), toQColor(bg_).name())
                      .arg(border)
                      .arg(hasFocus() ? palette().color(QPalette::Highlight).name() : "gray"));
}

void ColorSample::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (rect().contains(e->position().toPoint()) && e->button() == Qt::LeftButton)
        emit clicked();
}

void ColorSample::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(e);
}

void ColorSample::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    restyle();
}

void ColorSample::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    restyle();
}

// ---------------------------------------------------------------------------------------

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, std::string programPath,
                             QWidget* parent)
    : QDialog(parent), options_(options), store_(store), programPath_(std::move(programPath)) {
    setObjectName("optionsDialog");
    setWindowTitle("Program Options");

    titleCaption_ = named(new ShadowLabel("Program Options", this), "titleCaption");
    titleCaption_->setAlignment(Qt::AlignCenter);

    pages_ = named(new QTabWidget(this), "pgOptions");
    pages_->addTab(buildScreenPage(), "Screen Appearance");
    pages_->addTab(buildAlarmPage(), "Alarm settings");
    pages_->addTab(buildMiscPage(), "Miscellaneous");

    auto* footer = named(new QLabel("Dayweaver", this), "footerLabel");
    footer->setEnabled(false); // drawn etched, like a maker's mark

    auto* okButton = named(new QPushButton("OK", this), "okButton");
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    auto* cancelButton = named(new QPushButton("Cancel", this), "cancelButton");
    auto* btHelp = named(new QPushButton("&Help", this), "btHelp");
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(btHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpTopic); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(footer);
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    bottom->addWidget(btHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleCaption_);
    layout->addWidget(pages_);
    layout->addLayout(bottom);
    // Fixed size: the window fits its contents (a bigger title font makes it grow) but
    // cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    pages_->setCurrentIndex(0);
    readSettings();
}

OptionsDialog::~OptionsDialog() = default;

QWidget* OptionsDialog::buildScreenPage() {
    auto* page = new QWidget;
    shadowsCheck_ = checkBox("shadowsCheck", "Use Sh&adows on Title captions", page);
    strikeoutCheck_ = checkBox("strikeoutCheck", "&Strike-out done events?", page);
    auto* likeThis = named(new QLabel("Like this", page), "likeThisLabel");
    QFont struck = likeThis->font();
    struck.setStrikeOut(true);
    likeThis->setFont(struck);

    auto* week = named(new QGroupBox("Week starts on which day? ", page), "gbWeek");
    sundayRadio_ = named(new QRadioButton("S&unday", week), "sundayRadio");
    mondayRadio_ = named(new QRadioButton("&Monday", week), "mondayRadio");
    auto* weekLayout = new QHBoxLayout(week);
    weekLayout->addWidget(sundayRadio_);
    weekLayout->addWidget(mondayRadio_);
    weekLayout->addStretch(1);

    auto* colors = named(new QGroupBox("Color calendar dates", page), "gbColors");
    colorDoneCheck_ = checkBox("colorDoneCheck", "&Done Items", colors);
    colorNotDoneCheck_ = checkBox("colorNotDoneCheck", "&Not-done items", colors);
    colorHolidayCheck_ = checkBox("colorHolidayCheck", "&Holidays", colors);
    doneSample_ = new ColorSample("doneSample", "Done", colors);
    notDoneSample_ = new ColorSample("notDoneSample", "Not Done", colors);
    holidaySample_ = new ColorSample("holidaySample", "Holiday", colors);
    auto* note = named(new QLabel("Click on a color to change", colors), "colorNoteLabel");
    auto* colorGrid = new QGridLayout(colors);
    colorGrid->addWidget(colorDoneCheck_, 0, 0);
    colorGrid->addWidget(doneSample_, 0, 1);
    colorGrid->addWidget(colorNotDoneCheck_, 1, 0);
    colorGrid->addWidget(notDoneSample_, 1, 1);
    colorGrid->addWidget(colorHolidayCheck_, 2, 0);
    colorGrid->addWidget(holidaySample_, 2, 1);
    colorGrid->addWidget(note, 3, 0, 1, 2);
    colorGrid->setColumnStretch(2, 1);

    gridFontButton_ = named(new QPushButton("Grid Font", page), "gridFontButton");
    calendarFontButton_ = named(new QPushButton("Calendar Font", page), "calendarFontButton");
    headerFontButton_ = named(new QPushButton("Header font", page), "headerFontButton");
    rowHeightSpin_ = named(new QSpinBox(page), "rowHeightSpin");
    rowHeightSpin_->setRange(kRowHeightMin, kRowHeightMax);

    auto* fonts = new QHBoxLayout;
    fonts->addWidget(gridFontButton_);
    fonts->addWidget(calendarFontButton_);
    fonts->addWidget(headerFontButton_);
    fonts->addStretch(1);
    auto* rowHeight = new QHBoxLayout;
    rowHeight->addWidget(buddyLabel("Height of grid row:", rowHeightSpin_, page));
    rowHeight->addWidget(rowHeightSpin_);
    rowHeight->addStretch(1);

    auto* strike = new QHBoxLayout;
    strike->addWidget(strikeoutCheck_);
    strike->addSpacing(12);
    strike->addWidget(likeThis);
    strike->addStretch(1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(shadowsCheck_);
    v->addLayout(strike);
    v->addWidget(week);
    v->addWidget(colors);
    v->addLayout(fonts);
    v->addLayout(rowHeight);
    v->addStretch(1);

    connect(shadowsCheck_, &QCheckBox::toggled, this, &OptionsDialog::onShadowsToggled);
    connect(strikeoutCheck_, &QCheckBox::toggled, this, &OptionsDialog::onStrikeoutToggled);
    connect(sundayRadio_, &QRadioButton::toggled, this, [this](bool on) {
        if (!loading_)
            options_.sunday = on;
    });
    for (QCheckBox* cb : {colorDoneCheck_, colorNotDoneCheck_, colorHolidayCheck_})
        connect(cb, &QCheckBox::toggled, this, &OptionsDialog::onColorSwitchToggled);
    connect(doneSample_, &ColorSample::clicked, this, [this] {
        chooseSampleColors(doneSample_, "Set color for DONE tasks", options_.doneFG,
                           options_.doneBG);
    });
    connect(notDoneSample_, &ColorSample::clicked, this, [this] {
        chooseSampleColors(notDoneSample_, "Set color for NOT DONE tasks", options_.notDoneFG,
                           options_.notDoneBG);
    });
    connect(holidaySample_, &ColorSample::clicked, this, [this] {
        chooseSampleColors(holidaySample_, "Set color for Holidays", options_.holidayFG,
                           options_.holidayBG);
    });
    connect(gridFontButton_, &QPushButton::clicked, this, &OptionsDialog::chooseGridFont);
    connect(calendarFontButton_, &QPushButton::clicked, this, &OptionsDialog::chooseCalendarFont);
    connect(headerFontButton_, &QPushButton::clicked, this, &OptionsDialog::chooseHeaderFont);
    connect(rowHeightSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        if (loading_)
            return;
        options_.rowHeight = v;
        emit rowHeightChanged(v);
    });
    return page;
}

QWidget* OptionsDialog::buildAlarmPage() {
    auto* page = new QWidget;
    auto* group = named(new QGroupBox("Alarm settings", page), "gbAlarm");
    alarmCheck_ = checkBox("alarmCheck", "&Play alarm file?", group);
    repeatSoundCheck_ = checkBox("repeatSoundCheck", "&Repeat alarm?", group);
    soundPathEdit_ = named(new QLineEdit(group), "soundPathEdit");
    soundPathEdit_->setMinimumWidth(260);
    browseSoundButton_ = named(new QPushButton("&Browse", group), "browseSoundButton");
    testSoundButton_ = named(new QPushButton("&Test", group), "testSoundButton");
    leadMinutesSpin_ = named(new QSpinBox(group), "leadMinutesSpin");
    leadMinutesSpin_->setRange(kAlarmMinMin, kAlarmMinMax);

    auto* path = new QHBoxLayout;
    path->addWidget(buddyLabel("&Wav File:", soundPathEdit_, group));
    path->addWidget(soundPathEdit_, 1);
    path->addWidget(browseSoundButton_);
    path->addWidget(testSoundButton_);

    auto* minutes = new QHBoxLayout;
    minutes->addWidget(buddyLabel("S&ound alarm", leadMinutesSpin_, group));
    minutes->addWidget(leadMinutesSpin_);
    minutes->addWidget(new QLabel("minutes ahead of scheduled event", group));
    minutes->addStretch(1);

    auto* g = new QVBoxLayout(group);
    g->addWidget(alarmCheck_);
    g->addWidget(repeatSoundCheck_);
    g->addLayout(path);
    g->addLayout(minutes);

    auto* note = named(
        new QLabel("Note: A sound card and speakers are necessary in order to hear the alarm.",
                   page),
        "soundNoteLabel");
    note->setWordWrap(true);

    auto* v = new QVBoxLayout(page);
    v->addWidget(group);
    v->addWidget(note);
    v->addStretch(1);

    connect(alarmCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            options_.playAlarm = on;
    });
    connect(repeatSoundCheck_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            options_.repeatAlarm = on;
    });
    connect(soundPathEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!loading_)
            options_.alarmPath = t.toStdString();
    });
    connect(leadMinutesSpin_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!loading_)
            options_.alarmMin = v;
    });
    connect(browseSoundButton_, &QPushButton::clicked, this, &OptionsDialog::browseSoundFile);
    connect(testSoundButton_, &QPushButton::clicked, this, &OptionsDialog::testSound);
    return page;
}

QWidget* OptionsDialog::buildMiscPage() {
    auto* page = new QWidget;

    auto* newTasks = named(new QGroupBox("On New Tasks ", page), "gbNewTasks");
    defaultCategoryEdit_ = named(new QLineEdit(newTasks), "defaultCategoryEdit");
    defaultCategoryEdit_->setMaxLength(static_cast<int>(kCategoryMaxChars));
    auto* nt = new QHBoxLayout(newTasks);
    nt->addWidget(buddyLabel("&Default category", defaultCategoryEdit_, newTasks));
    nt->addWidget(defaultCategoryEdit_, 1);

    auto* confirm = named(new QGroupBox("Ask for confirmation when ", page), "gbConfirm");
    confirmCheck_ = checkBox("confirmCheck", "D&eleting tasks/holidays", confirm);
    dragConfirmCheck_ =
        checkBox("dragConfirmCheck", "D&rag/dropping from grids to grid or calendar", confirm);
    auto* c = new QVBoxLayout(confirm);
    c->addWidget(confirmCheck_);
    c->addWidget(dragConfirmCheck_);

    auto* start = named(new QGroupBox("When Dayweaver starts up ", page), "gbStart");
    startInTrayCheck_ =
        checkBox("startInTrayCheck", "&Start in system tray, main screen is bypassed", start);
    startAtLogonCheck_ =
        checkBox("startAtLogonCheck", "&Dayweaver placed in system tray on reboot", start);
    auto* s = new QVBoxLayout(start);
    s->addWidget(startInTrayCheck_);
    s->addWidget(startAtLogonCheck_);

    auto* mouse = named(new QGroupBox("When mouse is moved over the calendars ", page), "gbPopup");
    popupSummaryCheck_ =
        checkBox("popupSummaryCheck", "Display a &popup summary of events ", mouse);
    auto* m = new QVBoxLayout(mouse);
    m->addWidget(popupSummaryCheck_);

    auto* v = new QVBoxLayout(page);
    v->addWidget(newTasks);
    v->addWidget(confirm);
    v->addWidget(start);
    v->addWidget(mouse);
    v->addStretch(1);

    connect(defaultCategoryEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!loading_)
            options_.category =
                truncateChars(normalizeTypedText(t.toStdString()), kCategoryMaxChars);
    });
    auto flag = [this](QCheckBox* cb, bool Options::*field) {
        connect(cb, &QCheckBox::toggled, this, [this, field](bool on) {
            if (!loading_)
                options_.*field = on;
        });
    };
    flag(confirmCheck_, &Options::confirm);
    flag(dragConfirmCheck_, &Options::dragConfirm);
    flag(startInTrayCheck_, &Options::autoStart);
    flag(startAtLogonCheck_, &Options::startup);
    flag(popupSummaryCheck_, &Options::popup);
    return page;
}

// ---------------------------------------------------------------------------------------

void OptionsDialog::readSettings() {
    const std::string programDir =
        QFileInfo(QString::fromStdString(programPath_)).absolutePath().toStdString();
    const bool colorHoliday = options_.colorHoliday; // has no key: kept as it is
    options_ = readOptions(store_, programDir, checkAutostart());
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
    showError(error);
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
        showError("The program options could not be saved.");
    return entryOk && saved;
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
        prompts().openFileName("Sound Files", soundPathEdit_->text().toStdString(), kSoundFilter);
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
        showError("The alarm sound file cannot be found: " + path);
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
            showError(QMediaDevices::audioOutputs().isEmpty()
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
