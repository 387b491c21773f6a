#include "app/calendar/date_navigator.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QToolButton>
#include <cmath>

namespace dw {

namespace {

QDate toQDate(DateSerial d) {
    const CivilDate c = decodeDate(d);
    return QDate(c.year, c.month, c.day);
}

int serialOf(const QDate& d) {
    return dateSerialOf(d.year(), d.month(), d.day());
}

// Windows-style short date patterns use the same day, month and year letters as Qt's.
QString qtPatternOf(const std::string& pattern) {
    QString p = QString::fromStdString(pattern);
    return p.isEmpty() ? QStringLiteral("M/d/yyyy") : p;
}

} // namespace

DateNavigator::DateNavigator(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);

    prior_ = new QToolButton(this);
    prior_->setObjectName("navPrior");
    prior_->setArrowType(Qt::LeftArrow);
    prior_->setAutoRaise(true);
    prior_->setToolTip("Previous day");
    prior_->setAccessibleName("Previous day");
    prior_->setAutoRepeat(true);

    edit_ = new QDateEdit(this);
    edit_->setObjectName("navDate");
    edit_->setCalendarPopup(true);
    // A typed date counts once it is complete (Enter or leaving the box), not at every
    // keystroke on the way through other valid dates.
    edit_->setKeyboardTracking(false);
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setMinimumDate(QDate(100, 1, 1));
    edit_->setMaximumDate(QDate(9999, 12, 31));
    edit_->setDisplayFormat(qtPatternOf({}));
    edit_->setAccessibleName("Date");
    edit_->setMinimumWidth(1);
    edit_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    next_ = new QToolButton(this);
    next_->setObjectName("navNext");
    next_->setArrowType(Qt::RightArrow);
    next_->setAutoRaise(true);
    next_->setToolTip("Next day");
    next_->setAccessibleName("Next day");
    next_->setAutoRepeat(true);

    row->addWidget(prior_);
    row->addWidget(edit_, 1);
    row->addWidget(next_);

    connect(prior_, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next_, &QToolButton::clicked, this, [this] { step(1); });
    connect(edit_, &QDateEdit::dateChanged, this, [this] { userPicked(); });
}

void DateNavigator::setDisplayPattern(const std::string& pattern) {
    settingDate_ = true;
    edit_->setDisplayFormat(qtPatternOf(pattern));
    settingDate_ = false;
}

void DateNavigator::setMondayFirst(bool on) {
    edit_->calendarWidget()->setFirstDayOfWeek(on ? Qt::Monday : Qt::Sunday);
}

void DateNavigator::setDate(DateSerial d, bool notify) {
    if (!std::isfinite(d))
        return;
    const bool moved = wholeDays(d) != wholeDays(date_);
    date_ = d;
    settingDate_ = true;
    edit_->setDate(toQDate(d));
    settingDate_ = false;
    if (notify && moved)
        emit changed();
}

void DateNavigator::step(int days) {
    const int day = wholeDays(date_) + days;
    if (day < serialOf(edit_->minimumDate()) || day > serialOf(edit_->maximumDate()))
        return;
    setDate(day + dayFraction(date_), true);
}

void DateNavigator::userPicked() {
    if (settingDate_)
        return;
    const int day = serialOf(edit_->date());
    if (day == wholeDays(date_))
        return;
    // The time of day goes along with the date, as the calendars keep theirs.
    date_ = day + (day >= 0 ? dayFraction(date_) : -dayFraction(date_));
    emit changed();
}

} // namespace dw
