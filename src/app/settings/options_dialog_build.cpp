#include "app/settings/options_dialog.h"

// How the options window is put together: its three pages and the controls on them, each
// control writing its value into Options. What the window does with them is in
// options_dialog.cpp.

#include "app/sync/sync_options_page.h"
#include "app/widgets/shadow_label.h"
#include "core/settings/option_keys.h"
#include "core/store/text_codec.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSoundEffect> // the constructor may unwind the sound member
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace dw {

namespace {

constexpr int kHelpTopic = 400;

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

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, Prompts& prompts,
                             const std::string& programPath, QWidget* parent)
    : OptionsDialog(options, store, prompts, programPath,
                    QFileInfo(QString::fromStdString(programPath)).absolutePath().toStdString(),
                    parent) {}

OptionsDialog::OptionsDialog(Options& options, SettingsStore& store, Prompts& prompts,
                             std::string programPath, std::string shippedDir, QWidget* parent)
    : QDialog(parent), options_(options), store_(store), prompts_(prompts),
      programPath_(std::move(programPath)), shippedDir_(std::move(shippedDir)) {
    setObjectName("optionsDialog");
    setWindowTitle("Program Options");

    titleCaption_ = named(new ShadowLabel("Program Options", this), "titleCaption");
    titleCaption_->setAlignment(Qt::AlignCenter);

    pages_ = named(new QTabWidget(this), "pages");
    pages_->addTab(buildScreenPage(), "Screen Appearance");
    pages_->addTab(buildAlarmPage(), "Alarm settings");
    pages_->addTab(buildMiscPage(), "Miscellaneous");
    syncPage_ = new SyncOptionsPage(prompts_);
    pages_->addTab(syncPage_, "Sync");

    auto* footer = named(new QLabel("Dayweaver", this), "footerLabel");
    footer->setEnabled(false); // drawn etched, like a maker's mark

    auto* okButton = named(new QPushButton("OK", this), "okButton");
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    auto* cancelButton = named(new QPushButton("Cancel", this), "cancelButton");
    auto* helpButton = named(new QPushButton("&Help", this), "helpButton");
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpTopic); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(footer);
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    bottom->addWidget(helpButton);

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

QWidget* OptionsDialog::buildScreenPage() {
    auto* page = new QWidget;
    shadowsCheck_ = checkBox("shadowsCheck", "Use Sh&adows on Title captions", page);
    strikeoutCheck_ = checkBox("strikeoutCheck", "&Strike-out done events?", page);
    auto* likeThis = named(new QLabel("Like this", page), "likeThisLabel");
    QFont struck = likeThis->font();
    struck.setStrikeOut(true);
    likeThis->setFont(struck);

    auto* week = named(new QGroupBox("Week starts on which day? ", page), "weekStartGroup");
    sundayRadio_ = named(new QRadioButton("S&unday", week), "sundayRadio");
    mondayRadio_ = named(new QRadioButton("&Monday", week), "mondayRadio");
    auto* weekLayout = new QHBoxLayout(week);
    weekLayout->addWidget(sundayRadio_);
    weekLayout->addWidget(mondayRadio_);
    weekLayout->addStretch(1);

    auto* colors = named(new QGroupBox("Color calendar dates", page), "dateColorsGroup");
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
    for (QCheckBox* check : {colorDoneCheck_, colorNotDoneCheck_, colorHolidayCheck_})
        connect(check, &QCheckBox::toggled, this, &OptionsDialog::onColorSwitchToggled);
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
    auto* group = named(new QGroupBox("Alarm settings", page), "alarmGroup");
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

    auto* newTasks = named(new QGroupBox("On New Tasks ", page), "newTasksGroup");
    defaultCategoryEdit_ = named(new QLineEdit(newTasks), "defaultCategoryEdit");
    defaultCategoryEdit_->setMaxLength(static_cast<int>(kCategoryMaxChars));
    auto* nt = new QHBoxLayout(newTasks);
    nt->addWidget(buddyLabel("&Default category", defaultCategoryEdit_, newTasks));
    nt->addWidget(defaultCategoryEdit_, 1);

    auto* confirm = named(new QGroupBox("Ask for confirmation when ", page), "confirmGroup");
    confirmCheck_ = checkBox("confirmCheck", "D&eleting tasks/holidays", confirm);
    dragConfirmCheck_ =
        checkBox("dragConfirmCheck", "D&rag/dropping from grids to grid or calendar", confirm);
    auto* c = new QVBoxLayout(confirm);
    c->addWidget(confirmCheck_);
    c->addWidget(dragConfirmCheck_);

    auto* start = named(new QGroupBox("When Dayweaver starts up ", page), "startUpGroup");
    startInTrayCheck_ =
        checkBox("startInTrayCheck", "&Start in system tray, main screen is bypassed", start);
    startAtLogonCheck_ =
        checkBox("startAtLogonCheck", "&Dayweaver placed in system tray on reboot", start);
    auto* s = new QVBoxLayout(start);
    s->addWidget(startInTrayCheck_);
    s->addWidget(startAtLogonCheck_);

    auto* mouse =
        named(new QGroupBox("When mouse is moved over the calendars ", page), "popupGroup");
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
    auto flag = [this](QCheckBox* check, bool Options::*field) {
        connect(check, &QCheckBox::toggled, this, [this, field](bool on) {
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

} // namespace dw
