#include "app/shell/status_clock.h"

#include "core/dates/date_serial.h"
#include "core/shell/layout.h"

namespace dw {

StatusClock::StatusClock(const Clock& clock, const FormatSettings& fs, QWidget* parent)
    : QLabel(parent), clock_(clock), fs_(fs) {
    setObjectName("statusLabel");
}

void StatusClock::tick() {
    const DateSerial now = clock_.now();
    setText(QString::fromStdString(statusClockText(now, fs_)));
    const int today = wholeDays(now);
    const bool moved = lastDate_ >= 0 && today != lastDate_;
    lastDate_ = today;
    if (moved)
        emit dateChanged();
}

} // namespace dw
