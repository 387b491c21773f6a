#pragma once

#include "core/dates/date_serial.h"

#include <QWidget>
#include <string>

class QDateEdit;
class QToolButton;

namespace dw {

// The date navigator strip under the month calendars: a button a day back, the date in an
// editable box with a calendar pop-up, a button a day forward. It holds a DateSerial (the
// time of day it was given is kept while the user moves the whole day).
class DateNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DateNavigator(QWidget* parent = nullptr);

    DateSerial date() const { return date_; }
    // Takes d; raises changed() only when notify is true and the whole day moved.
    void setDate(DateSerial d, bool notify = false);
    // The locale's short date pattern ("M/d/yyyy") for the box.
    void setDisplayPattern(const std::string& pattern);
    // The pop-up's first day of the week.
    void setMondayFirst(bool on);

    QDateEdit* edit() const { return edit_; }
    QToolButton* priorButton() const { return prior_; }
    QToolButton* nextButton() const { return next_; }

signals:
    // The user (or setDate with notify) moved the navigator to another day.
    void changed();

private:
    void userPicked();
    void step(int days);

    QToolButton* prior_ = nullptr;
    QDateEdit* edit_ = nullptr;
    QToolButton* next_ = nullptr;
    DateSerial date_ = 0;
    bool settingDate_ = false;
};

} // namespace dw
