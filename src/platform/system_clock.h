#pragma once

#include "core/dates/clock.h"

namespace dw {

// Local wall-clock time as a date serial.
class SystemClock : public Clock {
public:
    DateSerial now() const override;
};

} // namespace dw
