#include "app/calendar/selected_day.h"

#include "app/calendar/calendar_pane.h"

namespace dw {

int SelectedDay::date() const {
    return calendars_->selectedDay();
}

void SelectedDay::show(int date) const {
    if (date == calendars_->selectedDay())
        calendars_->setSelectedDate(calendars_->selectedDate());
    else
        calendars_->setSelectedDate(date);
}

} // namespace dw
