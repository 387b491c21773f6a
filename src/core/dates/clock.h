#pragma once

#include "core/dates/date_serial.h"

#include <cstdint>
#include <functional>

namespace dw {

// Where "now" comes from. The app uses the system clock; tests use FixedClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateSerial now() const = 0;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(DateSerial now = 0) : now_(now) {}
    DateSerial now() const override { return now_; }
    void setNow(DateSerial now) { now_ = now; }
    void advanceMinutes(int n) { now_ += n / 1440.0; }

private:
    DateSerial now_;
};

// Turns a moment (seconds since 1970 UTC) into the local date and time. The time zone is the
// platform's, so the conversion comes in from outside like the clock.
using UtcToLocal = std::function<DateSerial(std::int64_t utcSeconds)>;

} // namespace dw
