#include "app/editing/time_field.h"

#include "app/editing/date_fields.h"
#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"

namespace dw {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TimeField::TimeField(const FormatSettings& fs, QWidget* parent) : QLineEdit(parent), fs_(fs) {
    setMaxLength(24);
    setMinimumWidth(
        fontMetrics().horizontalAdvance(q(formatDateTime("t", timeFraction(23, 58), fs_))) + 24);
    // Shown back as the time that will be stored: "930p" becomes "9:30 PM".
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (const QTime t = time(); t.isValid())
            setTime(t);
    });
}

void TimeField::setTime(const QTime& time) {
    setText(q(formatDateTime("t", fractionOfQTime(time), fs_)));
}

QTime TimeField::time() const {
    if (const auto t = parseTypedTime(text().toStdString(), fs_))
        return toQTime(*t);
    return {};
}

} // namespace dw
