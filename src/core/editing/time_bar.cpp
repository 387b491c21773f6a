#include "core/editing/time_bar.h"

#include <cstdio>

namespace dw {

int timeToX(int hour, int minute) {
    return (60 * hour + minute) / 3 + kTimeBarMidnightX;
}

HourMinute adjustTo5Minutes(int hour, int minute) {
    int out = 0;
    switch (minute) {
    case 0:
        out = 0;
        break;
    case 3:
    case 6:
        out = 5;
        break;
    case 9:
    case 12:
        out = 10;
        break;
    case 15:
    case 18:
        out = 15;
        break;
    case 21:
        out = 20;
        break;
    case 24:
        out = 25;
        break;
    case 27:
    case 30:
        out = 30;
        break;
    case 33:
    case 36:
        out = 35;
        break;
    case 39:
        out = 40;
        break;
    case 42:
    case 45:
        out = 45;
        break;
    case 48:
    case 51:
        out = 50;
        break;
    case 54:
        out = 55;
        break;
    case 57:
    case 60:
        out = 0;
        ++hour;
        break;
    default:
        out = 0;
        break;
    }
    if (hour > 23)
        hour = 0;
    return {hour, out};
}

HourMinute xToTime(int x) {
    // 8, not 7: the time read at a time's own pointer can be one step earlier.
    const int m = 3 * (x - 8);
    if (m <= 0)
        return {0, 0};
    // Past 23:55 the snap would wrap to the morning's midnight; the evening keeps its day.
    if (m > 1435)
        return {23, 55};
    return adjustTo5Minutes(m / 60, m % 60);
}

bool pointerInRange(int x) {
    return x >= kPointerMinX && x <= kPointerMaxX;
}

bool isNightHour(int hour) {
    return hour < 7 || hour >= 19;
}

WinColor timeLabelColor(int hour) {
    return isNightHour(hour) ? kNightColor : kDayColor;
}

std::string timeLabelText(int hour, int minute) {
    const int h12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d%c", h12, minute, hour < 12 ? 'a' : 'p');
    return text;
}

std::optional<HourMinute> stepTime(TimeStep step, HourMinute t) {
    switch (step) {
    case TimeStep::MinuteUp:
        if (t.hour == 23 && t.minute == 59)
            return std::nullopt;
        return t.minute == 59 ? HourMinute{t.hour + 1, 0} : HourMinute{t.hour, t.minute + 1};
    case TimeStep::MinuteDown:
        // One minute back at the full hour too, so Down undoes Up everywhere.
        if (t.hour == 0 && t.minute == 0)
            return std::nullopt;
        return t.minute == 0 ? HourMinute{t.hour - 1, 59} : HourMinute{t.hour, t.minute - 1};
    case TimeStep::HourUp:
        if (t.hour >= 23)
            return std::nullopt;
        return HourMinute{t.hour + 1, t.minute};
    case TimeStep::HourDown:
        if (t.hour <= 0)
            return std::nullopt;
        return HourMinute{t.hour - 1, t.minute};
    }
    return std::nullopt;
}

} // namespace dw
