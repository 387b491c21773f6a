#pragma once

#include "core/dates/clock.h"
#include "core/dates/format_settings.h"

#include <QLabel>

namespace dw {

// The status bar's clock: "Today is " and the long date and time. It tells when the date
// has moved on since its last tick, so the window can bring today's marks up to date.
class StatusClock : public QLabel {
    Q_OBJECT
public:
    StatusClock(const Clock& clock, const FormatSettings& fs, QWidget* parent = nullptr);

    // Shows the time now.
    void tick();

signals:
    void dateChanged();

private:
    const Clock& clock_;
    const FormatSettings& fs_;
    int lastDate_ = -1;
};

} // namespace dw
