#include "app/editing/time_entry_popup.h"

#include "app/editing/date_fields.h"
#include "app/editing/time_bar_widget.h"
#include "app/widgets/analog_clock.h"
#include "app/widgets/win_color.h"
#include "core/dates/date_format.h"
#include "core/editing/time_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace dw {

namespace {

// The bar stands 8 pixels from the popup's left and top edges.
constexpr int kBarLeft = 8;
constexpr int kBarTop = 8;
constexpr int kLabelWidth = 50;
constexpr int kLabelHeight = 17;
constexpr int kMarkSize = 16;

} // namespace

TimeEntryPopup::TimeEntryPopup(const FormatSettings& fs, const Clock& clock, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock) {
    setObjectName("timeEntryPopup");
    setWindowTitle("Time Entry");

    // The bar with its marks and the drag label under it, placed by pixel.
    auto* barArea = new QWidget(this);
    barArea->setObjectName("barArea");
    barArea->setFixedSize(kBarLeft + kTimeBarWidth + kBarLeft,
                          kBarTop + kTimeBarHeight + kLabelHeight + 4);
    timeBar = new TimeBarWidget(barArea);
    timeBar->setObjectName("timeBar");
    timeBar->move(kBarLeft, kBarTop);
    sunLabel = new QLabel(barArea);
    sunLabel->setPixmap(sunMark(kMarkSize));
    sunLabel->setToolTip("7 a.m.");
    sunLabel->setGeometry(kBarLeft + timeToX(7, 0) - kMarkSize / 2, kBarTop + kTimeBarHeight + 2,
                          kMarkSize, kMarkSize);
    moonLabel = new QLabel(barArea);
    moonLabel->setPixmap(moonMark(kMarkSize));
    moonLabel->setToolTip("7 p.m.");
    moonLabel->setGeometry(kBarLeft + timeToX(19, 0) - kMarkSize / 2, kBarTop + kTimeBarHeight + 2,
                           kMarkSize, kMarkSize);
    timeLabel = new QLabel("00:00a", barArea);
    timeLabel->setObjectName("timeLabel");
    timeLabel->setAlignment(Qt::AlignCenter);
    timeLabel->setFrameShape(QFrame::Box);
    timeLabel->setAutoFillBackground(true);
    timeLabel->resize(kLabelWidth, kLabelHeight);
    timeLabel->hide();

    timeField = new QTimeEdit(this);
    timeField->setObjectName("timeField");
    timeField->setDisplayFormat(qtDisplayFormat(fs_.shortTimeFormat));
    auto* timeCaption = new QLabel("&Time:", this);
    timeCaption->setBuddy(timeField);

    nowButton = new QPushButton(this);
    nowButton->setObjectName("nowButton");
    nowButton->setToolTip("Current time - click to set clock to current time");
    nowButton->setAutoDefault(false);
    nowButton->setFlat(true);

    clockFace = new AnalogClock(this);
    clockFace->setObjectName("clockFace");
    clockFace->setFixedSize(84, 84);

    okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    okButton->setDefault(true);
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAutoDefault(false);

    auto* fields = new QVBoxLayout;
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(timeCaption);
    timeRow->addWidget(timeField);
    timeRow->addStretch();
    fields->addLayout(timeRow);
    fields->addWidget(nowButton, 0, Qt::AlignLeft);
    fields->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch();
    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(kBarLeft, 0, kBarLeft, kBarLeft);
    lower->addLayout(fields, 1);
    lower->addWidget(clockFace);
    lower->addSpacing(12);
    lower->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(barArea);
    layout->addLayout(lower);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    nowTimer = new QTimer(this);
    nowTimer->setInterval(1000);
    connect(nowTimer, &QTimer::timeout, this, &TimeEntryPopup::refreshNowCaption);
    nowTimer->start();

    connect(timeBar, &TimeBarWidget::pressed, this, &TimeEntryPopup::barPressed);
    connect(timeBar, &TimeBarWidget::dragged, this, &TimeEntryPopup::barDragged);
    connect(timeBar, &TimeBarWidget::released, this, &TimeEntryPopup::barReleased);
    connect(timeBar, &TimeBarWidget::doubleClicked, this, &QDialog::accept);
    connect(timeField, &QTimeEdit::timeChanged, this, &TimeEntryPopup::timeFieldChanged);
    connect(nowButton, &QPushButton::clicked, this, &TimeEntryPopup::takeNow);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // The popup sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    setTime(std::nullopt);
    refreshNowCaption();
    timeField->setFocus();
}

void TimeEntryPopup::setTime(std::optional<double> time) {
    timeField->setTime(toQTime(time ? dayFraction(*time) : dayFraction(clock_.now())));
    followField();
}

double TimeEntryPopup::returnedTime() const {
    return fractionOfQTime(timeField->time());
}

void TimeEntryPopup::drawPointer(int x, bool setTime) {
    if (!pointerInRange(x))
        return;
    timeBar->setPointerX(x);
    timeLabel->move(kBarLeft + x - kLabelWidth / 2, kBarTop + kTimeBarHeight + 1);
    timeLabel->raise();
    if (!setTime)
        return;
    const HourMinute t = xToTime(x);
    settingTime_ = true;
    timeField->setTime(QTime(t.hour, t.minute, 0));
    settingTime_ = false;
    clockFace->setTime(timeField->time());
    timeLabel->setText(QString::fromStdString(timeLabelText(t.hour, t.minute)));
    QPalette pal = timeLabel->palette();
    pal.setColor(QPalette::Window, toQColor(timeLabelColor(t.hour)));
    pal.setColor(QPalette::WindowText, Qt::black);
    timeLabel->setPalette(pal);
}

void TimeEntryPopup::barPressed(int x) {
    dragging_ = true;
    timeLabel->show();
    drawPointer(x, true);
    lastX_ = x;
}

void TimeEntryPopup::barDragged(int x) {
    if (!dragging_)
        return;
    drawPointer(x, true);
    lastX_ = x;
}

void TimeEntryPopup::barReleased() {
    dragging_ = false;
    timeLabel->hide();
}

void TimeEntryPopup::timeFieldChanged() {
    if (!settingTime_)
        followField();
}

void TimeEntryPopup::followField() {
    const QTime t = timeField->time();
    drawPointer(timeToX(t.hour(), t.minute()), false);
    clockFace->setTime(t);
}

void TimeEntryPopup::takeNow() {
    timeField->setTime(toQTime(dayFraction(clock_.now())));
    followField();
    refreshNowCaption();
}

void TimeEntryPopup::refreshNowCaption() {
    nowButton->setText(QString::fromStdString("It is " + formatDateTime("t", clock_.now(), fs_)));
}

void TimeEntryPopup::showEvent(QShowEvent* e) {
    dragging_ = false;
    timeLabel->hide();
    followField();
    refreshNowCaption();
    QDialog::showEvent(e);
}

bool TimeEntryPopup::stepKey(int key) {
    const QTime now = timeField->time();
    const HourMinute t{now.hour(), now.minute()};
    std::optional<HourMinute> next;
    switch (key) {
    case Qt::Key_Up:
        next = stepTime(TimeStep::MinuteUp, t);
        break;
    case Qt::Key_Down:
        next = stepTime(TimeStep::MinuteDown, t);
        break;
    case Qt::Key_PageUp:
        next = stepTime(TimeStep::HourUp, t);
        break;
    case Qt::Key_PageDown:
        next = stepTime(TimeStep::HourDown, t);
        break;
    case Qt::Key_Home:
        timeField->setTime(toQTime(dayFraction(clock_.now())));
        return true;
    default:
        return false;
    }
    if (next)
        timeField->setTime(QTime(next->hour, next->minute, 0));
    return true;
}

bool TimeEntryPopup::markerKey(const QString& typed) {
    if (typed.size() != 1 || !typed[0].isLetter())
        return false;
    const QChar c = typed[0].toLower();
    const auto starts = [c](const std::string& marker) {
        const QString m = QString::fromStdString(marker);
        return !m.isEmpty() && m[0].toLower() == c;
    };
    // The field's own section would keep the half of the day it had: "930p" was 9:30 AM.
    const bool pm = c == 'p' || starts(fs_.timePMString);
    const bool am = c == 'a' || starts(fs_.timeAMString);
    if (pm == am)
        return c == 'm'; // the rest of "am" and "pm" changes nothing
    const QTime t = timeField->time();
    const int hour = t.hour() % 12 + (pm ? 12 : 0);
    timeField->setTime(QTime(hour, t.minute(), 0));
    return true;
}

bool TimeEntryPopup::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool handled =
            stepKey(key->key()) || (watched == timeField && markerKey(key->text()));
        followField();
        if (handled)
            return true;
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace dw
