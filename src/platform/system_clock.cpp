#include "platform/system_clock.h"

#include <QDateTime>

namespace dw {

DateSerial SystemClock::now() const {
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime c = t.time();
    return dateSerialOf(d.year(), d.month(), d.day()) +
           timeFraction(c.hour(), c.minute(), c.second(), c.msec());
}

} // namespace dw
