#pragma once

#include <array>
#include <string>

namespace dw {

// The locale's date and time conventions. Patterns are in the Windows locale style:
// d dd ddd dddd (day, weekday), M MM MMM MMMM (month), y yy yyyy, h hh (12-hour),
// H HH (24-hour), m mm (minutes), s ss, t tt (AM/PM designator) and 'quoted' literals.
struct FormatSettings {
    std::string shortDateFormat = "M/d/yyyy";
    std::string longDateFormat = "dddd, MMMM d, yyyy";
    std::string shortTimeFormat = "h:mm tt";
    std::string longTimeFormat = "h:mm:ss tt";
    std::string timeAMString = "AM";
    std::string timePMString = "PM";
    char dateSeparator = '/';
    char timeSeparator = ':';
    char decimalSeparator = '.';
    // Index 0 = January; weekday index 0 = Sunday.
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

    // The en-US conventions, the fixed locale of the tests.
    static FormatSettings enUS() { return {}; }
};

} // namespace dw
