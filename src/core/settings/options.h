#pragma once

#include "core/settings/option_key_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dw {

// Colours are Windows colour values 0x00BBGGRR; 0x80000000 plus an index stands for a
// system colour.
using WinColor = std::uint32_t;

struct FontSpec {
    std::string name;
    int size = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The colour a settings value holds by default.
consteval WinColor defaultColor(std::string_view name) {
    return static_cast<WinColor>(defaultInteger(name));
}

// Every program option, as the options window holds it for the whole run. Other code
// reads the option here at the moment of use. Defaults are those of a first start, as the
// settings key table gives them.
struct Options {
    std::string firstTime{defaultText("FirstTime")};
    bool shadows = defaultFlag("Shadows");
    bool strikeOut = defaultFlag("StrikeOut");
    std::string category{defaultText("Category")};
    bool confirm = defaultFlag("Confirm");
    bool dragConfirm = defaultFlag("DragConfirm");
    bool colorDone = defaultFlag("DoneColor");
    bool colorNotDone = defaultFlag("NotDoneColor");
    bool colorHoliday = true;                  // not stored: on at every start
    bool autoStart = defaultFlag("AutoStart"); // start in the tray
    bool startup = false; // the log-on autostart entry exists (not stored either)
    bool popup = defaultFlag("qPopup");
    WinColor doneFG = defaultColor("DoneColorFG");
    WinColor doneBG = defaultColor("DoneColorBG");
    WinColor notDoneFG = defaultColor("NotDoneColorFG");
    WinColor notDoneBG = defaultColor("NotDoneColorBG");
    WinColor holidayFG = defaultColor("HolidayColorFG");
    WinColor holidayBG = defaultColor("HolidayColorBG");
    int alarmMin = defaultInteger("AlarmMin"); // 0 to 120
    // Its default is the sound file in the program's folder, known only when the options
    // are read (readOptions).
    std::string alarmPath;
    bool playAlarm = defaultFlag("PlayAlarm");
    bool repeatAlarm = defaultFlag("RepeatAlarm");
    bool sunday = defaultFlag("Sunday");         // weeks start on Sunday, else Monday
    int rowHeight = defaultInteger("RowHeight"); // 8 to 50
    FontSpec calFont{std::string(defaultText("CalFontName")),
                     defaultInteger("CalFontSize"),
                     defaultFlag("CalFontBold"),
                     defaultFlag("CalFontItalic"),
                     defaultFlag("CalFontUnder"),
                     defaultFlag("CalFontStrike")};
    FontSpec gridFont{std::string(defaultText("GridFontName")),
                      defaultInteger("GridFontSize"),
                      defaultFlag("GridFontBold"),
                      defaultFlag("GridFontItalic"),
                      defaultFlag("GridFontUnder"),
                      defaultFlag("GridFontStrike")};
    FontSpec titleFont{std::string(defaultText("TitleFontName")),
                       defaultInteger("TitleFontSize"),
                       defaultFlag("TitleFontBold"),
                       defaultFlag("TitleFontItalic"),
                       defaultFlag("TitleFontUnder"),
                       defaultFlag("TitleFontStrike")};
};

} // namespace dw
