#pragma once

namespace dw {

class CalendarPane;

// The selected date (whole days) as the parts beside the main window see it: the active
// calendar's date, whose day view the window shows.
class SelectedDay {
public:
    explicit SelectedDay(CalendarPane& calendars) : calendars_(&calendars) {}

    int date() const;
    // Shows `date`: a new day starts at midnight; the same day keeps its time.
    void show(int date) const;

private:
    CalendarPane* calendars_;
};

} // namespace dw
