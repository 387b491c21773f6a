#pragma once

#include "app/widgets/timer_pool.h"

namespace dw {

// One trigger of the main window's timer pool, for a part that switches it on and off but
// owns neither the pool nor its other triggers.
class TimerSwitch {
public:
    TimerSwitch(TimerPool& pool, int trigger) : pool_(&pool), trigger_(trigger) {}

    void setEnabled(bool on) const { pool_->setEnabled(trigger_, on); }

private:
    TimerPool* pool_;
    int trigger_;
};

} // namespace dw
