#pragma once

#include "core/dates/date_serial.h"

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

} // namespace dw
