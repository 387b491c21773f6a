#pragma once

#include "core/settings/options.h"

#include <optional>
#include <string>

namespace dw {

// The time entry popup's 24-hour bar: midnight at x = 7, 20 pixels per hour, a tick every
// 15 minutes. Coordinates are x from the bar's left edge.

inline constexpr int kTimeBarWidth = 495;
inline constexpr int kTimeBarHeight = 42;
inline constexpr int kTimeBarMidnightX = 7;
inline constexpr int kTimeBarPixelsPerHour = 20;
// The pointer's reach: its 11-pixel markers stay on the bar.
inline constexpr int kPointerMinX = 7;
inline constexpr int kPointerMaxX = 487;

// Night (before 7:00 and from 19:00) on light blue, the day on yellow.
inline constexpr WinColor kNightColor = 0x00FFFF00;
inline constexpr WinColor kDayColor = 0x0000FFFF;

struct HourMinute {
    int hour = 0;
    int minute = 0;
    friend bool operator==(const HourMinute&, const HourMinute&) = default;
};

// The pointer position of a time: (60h + m) div 3 + 7.
int timeToX(int hour, int minute);

// Snaps a minute that is a multiple of 3 to the five-minute steps, with the quarter hours
// pulling their neighbours (18 -> 15, 27 -> 30, 42 -> 45, 57 -> the next hour).
HourMinute adjustTo5Minutes(int hour, int minute);

// The time read at a pointer position: 3 minutes a pixel from x = 8, snapped. A read
// that would snap past 23:55 stays at 23:55: the bar picks a time of its own day, never
// the midnight that starts it.
HourMinute xToTime(int x);

// Whether the pointer may stand at x.
bool pointerInRange(int x);

// Whether an hour is a night hour (before 7 or from 19 on).
bool isNightHour(int hour);
// The drag label's ground for an hour.
WinColor timeLabelColor(int hour);
// The drag label's text, "hh:nna/p": 12-hour clock, two digits each, then "a" or "p".
std::string timeLabelText(int hour, int minute);

// The popup's stepping keys. Up: one minute later (at 23:59 nothing); Down: one minute
// earlier (at 00:00 nothing); Page Up / Page Down: one hour, same minute, within the day.
// Nothing when the key changes nothing.
enum class TimeStep { MinuteUp, MinuteDown, HourUp, HourDown };
std::optional<HourMinute> stepTime(TimeStep step, HourMinute t);

} // namespace dw
