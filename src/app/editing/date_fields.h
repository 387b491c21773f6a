#pragma once

#include "core/dates/date_serial.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <string_view>

namespace dw {

// Day serials and the toolkit's dates and times.
QDate toQDate(DateSerial s);
int serialOfQDate(const QDate& d);
QTime toQTime(double dayFraction);
double fractionOfQTime(const QTime& t);

// A locale pattern in the Windows style ("M/d/yyyy", "h:mm tt") as a display format of the
// toolkit's date and time fields.
QString qtDisplayFormat(std::string_view pattern);

} // namespace dw
