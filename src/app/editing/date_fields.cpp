#include "app/editing/date_fields.h"

#include <cmath>

namespace dw {

namespace {
const QDate kEpoch(1899, 12, 30);
}

QDate toQDate(DateSerial s) {
    return kEpoch.addDays(wholeDays(s));
}

int serialOfQDate(const QDate& d) {
    return static_cast<int>(kEpoch.daysTo(d));
}

QTime toQTime(double dayFraction) {
    const double f = dayFraction - std::floor(dayFraction);
    const int ms = static_cast<int>(std::lround(f * 86400000.0)) % 86400000;
    return QTime::fromMSecsSinceStartOfDay(ms);
}

double fractionOfQTime(const QTime& t) {
    return t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : 0.0;
}

QString qtDisplayFormat(std::string_view pattern) {
    const QString in = QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size()));
    QString out;
    qsizetype i = 0;
    while (i < in.size()) {
        const QChar c = in[i];
        qsizetype run = 1;
        while (i + run < in.size() && in[i + run] == c)
            ++run;
        const char16_t u = c.unicode();
        const bool sameField = u == 'd' || u == 'M' || u == 'h' || u == 'H' || u == 'm' || u == 's';
        if (u == 'y') {
            out += run <= 2 ? "yy" : "yyyy";
        } else if (u == 't') {
            out += "AP";
        } else if (u == '\'') {
            // A quoted literal goes over as it is, quotes and all.
            const qsizetype end = in.indexOf('\'', i + 1);
            const qsizetype stop = end < 0 ? in.size() : end + 1;
            out += in.mid(i, stop - i);
            i = stop;
            continue;
        } else if (!sameField && ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'))) {
            // A letter the field does not know is text, not a field.
            out += "'" + QString(run, c) + "'";
        } else {
            out += QString(run, c);
        }
        i += run;
    }
    return out;
}

} // namespace dw
