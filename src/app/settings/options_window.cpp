#include "app/settings/options_window.h"

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

TfrmOptions::TfrmOptions(Options& options, SettingsStore& store, std::string programPath,
                         QWidget* parent)
    : QDialog(parent), options_(options), store_(store), programPath_(std::move(programPath)) {
    setObjectName("frmOptions");
    setWindowTitle("Program Options");

    lblTitle_ = named(new ShadowLabel("Program Options", this), "lblTitle");
    lblTitle_->setAlignment(Qt::AlignCenter);

    pages_ = named(new QTabWidget(this), "pgOptions");
    pages_->addTab(buildScreenPage(), "Screen Appearance");
    pages_->addTab(buildAlarmPage(), "Alarm settings");
    pages_->addTab(buildMiscPage(), "Miscellaneous");

    auto* footer = named(new QLabel("Dayweaver", this), "lblFooter");
    footer->setEnabled(false); // drawn etched, like a maker's mark

    auto* btOK = named(new QPushButton("OK", this), "btOK");
    btOK->setDefault(true);
    btOK->setAutoDefault(true);
    auto* btCancel = named(new QPushButton("Cancel", this), "btCancel");
    auto* btHelp = named(new QPushButton("&Help", this), "btHelp");
    connect(btOK, &QPushButton::clicked, this, &TfrmOptions::btOKClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpTopic); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(footer);
    bottom->addStretch(1);
    bottom->addWidget(btOK);
    bottom->addWidget(btCancel);
    bottom->addWidget(btHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle_);
    layout->addWidget(pages_);
    layout->addLayout(bottom);
    // Fixed size: the window fits its contents (a bigger title font makes it grow) but
    // cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    pages_->setCurrentIndex(0);
    ReadSettings();
}

TfrmOptions::~TfrmOptions() = default;

QWidget* TfrmOptions::buildScreenPage() {
    auto* page = new QWidget;
    cbShadow_ = checkBox("cbShadow", "Use Sh&adows on Title captions", page);
    cbStrikeout_ = checkBox("cbStrikeout", "&Strike-out done events?", page);
    auto* likeThis = named(new QLabel("Like this", page), "lblLikeThis");
    QFont struck = likeThis->font();
    struck.setStrikeOut(true);
    likeThis->setFont(struck);

    auto* week = named(new QGroupBox("Week starts on which day? ", page), "gbWeek");
    rbSun_ = named(new QRadioButton("S&unday", week), "rbSun");
    rbMon_ = named(new QRadioButton("&Monday", week), "rbMon");
    auto* weekLayout = new QHBoxLayout(week);
    weekLayout->addWidget(rbSun_);
    weekLayout->addWidget(rbMon_);
    weekLayout->addStretch(1);

    auto* colors = named(new QGroupBox("Color calendar dates", page), "gbColors");
    cbColorDone_ = checkBox("cbColorDone", "&Done Items", colors);
    cbColorNotDone_ = checkBox("cbColorNotDone", "&Not-done items", colors);
    cbHoliday_ = checkBox("cbHoliday", "&Holidays", colors);
    pnlDone_ = new ColorSample("pnlDone", "Done", colors);
    pnlNotDone_ = new ColorSample("pnlNotDone", "Not Done", colors);
    pnlHoliday_ = new ColorSample("pnlHoliday", "Holiday", colors);
    auto* note = named(new QLabel("Click on a color to change", colors), "lblColorNote");
    auto* colorGrid = new QGridLayout(colors);
    colorGrid->addWidget(cbColorDone_, 0, 0);
    colorGrid->addWidget(pnlDone_, 0, 1);
    colorGrid->addWidget(cbColorNotDone_, 1, 0);
    colorGrid->addWidget(pnlNotDone_, 1, 1);
    colorGrid->addWidget(cbHoliday_, 2, 0);
    colorGrid->addWidget(pnlHoliday_, 2, 1);
    colorGrid->addWidget(note, 3, 0, 1, 2);
    colorGrid->setColumnStretch(2, 1);

    btGridFont_ = named(new QPushButton("Grid Font", page), "btGridFont");
    btCalFont_ = named(new QPushButton("Calendar Font", page), "btCalFont");
    btHeader_ = named(new QPushButton("Header font", page), "btHeader");
    edRowHeight_ = named(new QSpinBox(page), "edRowHeight");
    edRowHeight_->setRange(kRowHeightMin, kRowHeightMax);

    auto* fonts = new QHBoxLayout;
    fonts->addWidget(btGridFont_);
    fonts->addWidget(btCalFont_);
    fonts->addWidget(btHeader_);
    fonts->addStretch(1);
    auto* rowHeight = new QHBoxLayout;
    rowHeight->addWidget(buddyLabel("Height of grid row:", edRowHeight_, page));
    rowHeight->addWidget(edRowHeight_);
    rowHeight->addStretch(1);

    auto* strike = new QHBoxLayout;
    strike->addWidget(cbStrikeout_);
    strike->addSpacing(12);
    strike->addWidget(likeThis);
    strike->addStretch(1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(cbShadow_);
    v->addLayout(strike);
    v->addWidget(week);
    v->addWidget(colors);
    v->addLayout(fonts);
    v->addLayout(rowHeight);
    v->addStretch(1);

    connect(cbShadow_, &QCheckBox::toggled, this, &TfrmOptions::cbShadowClick);
    connect(cbStrikeout_, &QCheckBox::toggled, this, &TfrmOptions::cbStrikeoutClick);
    connect(rbSun_, &QRadioButton::toggled, this, [this](bool on) {
        if (!loading_)
            options_.sunday = on;
    });
    for (QCheckBox* cb : {cbColorDone_, cbColorNotDone_, cbHoliday_})
        connect(cb, &QCheckBox::toggled, this, &TfrmOptions::colorSwitchClick);
    connect(pnlDone_, &ColorSample::clicked, this, [this] {
        sampleClick(pnlDone_, "Set color for DONE tasks", options_.doneFG, options_.doneBG);
    });
    connect(pnlNotDone_, &ColorSample::clicked, this, [this] {
        sampleClick(pnlNotDone_, "Set color for NOT DONE tasks", options_.notDoneFG,
                    options_.notDoneBG);
    });
    connect(pnlHoliday_, &ColorSample::clicked, this, [this] {
        sampleClick(pnlHoliday_, "Set color for Holidays", options_.holidayFG, options_.holidayBG);
    });
    connect(btGridFont_, &QPushButton::clicked, this, &TfrmOptions::btGridFontClick);
    connect(btCalFont_, &QPushButton::clicked, this, &TfrmOptions::btCalFontClick);
    connect(btHeader_, &QPushButton::clicked, this, &TfrmOptions::btHeaderClick);
    connect(edRowHeight_, &QSpinBox::valueChanged, this, [this](int v) {
        if (loading_)
            return;
        options_.rowHeight = v;
        emit rowHeightChanged(v);
    });
    return page;
}

QWidget* TfrmOptions::buildAlarmPage() {
    auto* page = new QWidget;
    auto* group = named(new QGroupBox("Alarm settings", page), "gbAlarm");
    cbAlarm_ = checkBox("cbAlarm", "&Play alarm file?", group);
    cbRepeat_ = checkBox("cbRepeat", "&Repeat alarm?", group);
    edPath_ = named(new QLineEdit(group), "edPath");
    edPath_->setMinimumWidth(260);
    btAlarmBrowse_ = named(new QPushButton("&Browse", group), "btAlarmBrowse");
    btTest_ = named(new QPushButton("&Test", group), "btTest");
    edMin_ = named(new QSpinBox(group), "edMin");
    edMin_->setRange(kAlarmMinMin, kAlarmMinMax);

    auto* path = new QHBoxLayout;
    path->addWidget(buddyLabel("&Wav File:", edPath_, group));
    path->addWidget(edPath_, 1);
    path->addWidget(btAlarmBrowse_);
    path->addWidget(btTest_);

    auto* minutes = new QHBoxLayout;
    minutes->addWidget(buddyLabel("S&ound alarm", edMin_, group));
    minutes->addWidget(edMin_);
    minutes->addWidget(new QLabel("minutes ahead of scheduled event", group));
    minutes->addStretch(1);

    auto* g = new QVBoxLayout(group);
    g->addWidget(cbAlarm_);
    g->addWidget(cbRepeat_);
    g->addLayout(path);
    g->addLayout(minutes);

    auto* note = named(
        new QLabel("Note: A sound card and speakers are necessary in order to hear the alarm.",
                   page),
        "lblSoundNote");
    note->setWordWrap(true);

    auto* v = new QVBoxLayout(page);
    v->addWidget(group);
    v->addWidget(note);
    v->addStretch(1);

    connect(cbAlarm_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            options_.playAlarm = on;
    });
    connect(cbRepeat_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_)
            options_.repeatAlarm = on;
    });
    connect(edPath_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!loading_)
            options_.alarmPath = t.toStdString();
    });
    connect(edMin_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!loading_)
            options_.alarmMin = v;
    });
    connect(btAlarmBrowse_, &QPushButton::clicked, this, &TfrmOptions::btAlarmBrowseClick);
    connect(btTest_, &QPushButton::clicked, this, &TfrmOptions::btTestClick);
    return page;
}

QWidget* TfrmOptions::buildMiscPage() {
    auto* page = new QWidget;

    auto* newTasks = named(new QGroupBox("On New Tasks ", page), "gbNewTasks");
    edCategory_ = named(new QLineEdit(newTasks), "edCategory");
    edCategory_->setMaxLength(static_cast<int>(kCategoryMaxChars));
    auto* nt = new QHBoxLayout(newTasks);
    nt->addWidget(buddyLabel("&Default category", edCategory_, newTasks));
    nt->addWidget(edCategory_, 1);

    auto* confirm = named(new QGroupBox("Ask for confirmation when ", page), "gbConfirm");
    cbConfirm_ = checkBox("cbConfirm", "D&eleting tasks/holidays", confirm);
    cbDragConfirm_ =
        checkBox("cbDragConfirm", "D&rag/dropping from grids to grid or calendar", confirm);
    auto* c = new QVBoxLayout(confirm);
    c->addWidget(cbConfirm_);
    c->addWidget(cbDragConfirm_);

    auto* start = named(new QGroupBox("When Dayweaver starts up ", page), "gbStart");
    cbStartInTray_ =
        checkBox("cbStartInTray", "&Start in system tray, main screen is bypassed", start);
    cbStartup_ = checkBox("cbStartup", "&Dayweaver placed in system tray on reboot", start);
    auto* s = new QVBoxLayout(start);
    s->addWidget(cbStartInTray_);
    s->addWidget(cbStartup_);

    auto* mouse = named(new QGroupBox("When mouse is moved over the calendars ", page), "gbPopup");
    cbPopup_ = checkBox("cbPopup", "Display a &popup summary of events ", mouse);
    auto* m = new QVBoxLayout(mouse);
    m->addWidget(cbPopup_);

    auto* v = new QVBoxLayout(page);
    v->addWidget(newTasks);
    v->addWidget(confirm);
    v->addWidget(start);
    v->addWidget(mouse);
    v->addStretch(1);

    connect(edCategory_, &QLineEdit::textChanged, this, [this](const QString& t) {
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
    flag(cbConfirm_, &Options::confirm);
    flag(cbDragConfirm_, &Options::dragConfirm);
    flag(cbStartInTray_, &Options::autoStart);
    flag(cbStartup_, &Options::startup);
    flag(cbPopup_, &Options::popup);
    return page;
}

// ---------------------------------------------------------------------------------------

void TfrmOptions::ReadSettings() {
    const std::string programDir =
        QFileInfo(QString::fromStdString(programPath_)).absolutePath().toStdString();
    const bool colorHoliday = options_.colorHoliday; // has no key: kept as it is
    options_ = readOptions(store_, programDir, checkAutostart());
    options_.colorHoliday = colorHoliday;
    showOptionsInControls();
}

void TfrmOptions::showOptionsInControls() {
    loading_ = true;
    const Options& o = options_;
    cbShadow_->setChecked(o.shadows);
    cbStrikeout_->setChecked(o.strikeOut);
    rbSun_->setChecked(o.sunday);
    rbMon_->setChecked(!o.sunday);
    cbColorDone_->setChecked(o.colorDone);
    cbColorNotDone_->setChecked(o.colorNotDone);
    cbHoliday_->setChecked(o.colorHoliday);
    pnlDone_->setColors(o.doneFG, o.doneBG);
    pnlNotDone_->setColors(o.notDoneFG, o.notDoneBG);
    pnlHoliday_->setColors(o.holidayFG, o.holidayBG);
    edRowHeight_->setValue(o.rowHeight);
    cbAlarm_->setChecked(o.playAlarm);
    cbRepeat_->setChecked(o.repeatAlarm);
    edPath_->setText(QString::fromStdString(o.alarmPath));
    edMin_->setValue(o.alarmMin);
    edCategory_->setText(QString::fromStdString(o.category));
    cbConfirm_->setChecked(o.confirm);
    cbDragConfirm_->setChecked(o.dragConfirm);
    cbStartInTray_->setChecked(o.autoStart);
    cbStartup_->setChecked(o.startup);
    cbPopup_->setChecked(o.popup);
    applyFontsToButtons();
    applyTitleLook();
    loading_ = false;
}

void TfrmOptions::applyFontsToButtons() {
    btGridFont_->setFont(toQFont(options_.gridFont));
    btCalFont_->setFont(toQFont(options_.calFont));
    lblTitle_->setFont(toQFont(options_.titleFont));
    // The header button shows the title face and style at its own size.
    QFont header = toQFont(options_.titleFont);
    header.setPointSizeF(font().pointSizeF());
    btHeader_->setFont(header);
    btHeader_->setToolTip(
        QString("%1, %2 pt").arg(fontDescription(options_.titleFont)).arg(options_.titleFont.size));
}

void TfrmOptions::applyTitleLook() {
    const bool on = options_.shadows;
    lblTitle_->setShadowDepth(on ? 4 : 1);
    lblTitle_->setTextColor(toQColor(on ? kShadowTitleColor : kPlainTitleColor));
}

void TfrmOptions::showEvent(QShowEvent* e) {
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

bool TfrmOptions::checkAutostart() const {
    return autostartEntryExists();
}

bool TfrmOptions::writeAutostart(bool on) {
    std::string error;
    if (dw::writeAutostart(on, programPath_, error))
        return true;
    showError(error);
    return false;
}

bool TfrmOptions::SaveSettings() {
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

void TfrmOptions::btOKClick() {
    SaveSettings();
    accept();
}

void TfrmOptions::cbShadowClick(bool on) {
    if (loading_)
        return;
    options_.shadows = on;
    applyTitleLook();
    emit shadowsChanged(on);
}

void TfrmOptions::cbStrikeoutClick(bool on) {
    if (loading_)
        return;
    options_.strikeOut = on;
    if (isVisible()) {
        emit calendarsNeedRepaint();
        emit dayViewNeedsRefresh();
    }
}

void TfrmOptions::colorSwitchClick() {
    if (loading_)
        return;
    options_.colorDone = cbColorDone_->isChecked();
    options_.colorNotDone = cbColorNotDone_->isChecked();
    options_.colorHoliday = cbHoliday_->isChecked();
    emit calendarsNeedRepaint();
}

void TfrmOptions::sampleClick(ColorSample* sample, const QString& caption, WinColor& fg,
                              WinColor& bg) {
    if (loading_)
        return;
    TfrmColor dlg(this);
    dlg.setWindowTitle(caption);
    dlg.setColors(fg, bg);
    if (dlg.exec() == QDialog::Accepted) {
        fg = dlg.foreground();
        bg = dlg.background();
        sample->setColors(fg, bg);
    }
    emit calendarsNeedRepaint();
}

bool TfrmOptions::chooseFont(FontSpec& font) {
    QFontDialog dlg(toQFont(font), this);
    dlg.setObjectName("fontDialog");
    if (dlg.exec() != QDialog::Accepted)
        return false;
    font = fromQFont(dlg.selectedFont());
    return true;
}

void TfrmOptions::btGridFontClick() {
    if (loading_ || !chooseFont(options_.gridFont))
        return;
    applyFontsToButtons();
    emit gridFontChanged();
}

void TfrmOptions::btCalFontClick() {
    if (loading_ || !chooseFont(options_.calFont))
        return;
    applyFontsToButtons();
    emit calendarFontChanged();
}

void TfrmOptions::btHeaderClick() {
    // The main window takes the title font when its settings are next applied.
    if (loading_ || !chooseFont(options_.titleFont))
        return;
    applyFontsToButtons();
}

void TfrmOptions::btAlarmBrowseClick() {
    const std::string file =
        prompts().openFileName("Sound Files", edPath_->text().toStdString(), kSoundFilter);
    if (!file.empty())
        edPath_->setText(QString::fromStdString(file));
}

void TfrmOptions::btTestClick() {
    if (btTest_->text() != "&Test") {
        btTest_->setText("&Test");
        playAlarmSound(false);
        return;
    }
    if (cbRepeat_->isChecked())
        btTest_->setText("&Stop");
    playAlarmSound(true);
}

void TfrmOptions::playAlarmSound(bool on) {
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
