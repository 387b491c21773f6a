#pragma once

#include <cstdint>
#include <string>

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

// Every program option, as the options window holds it for the whole run. Other code
// reads the option here at the moment of use. Defaults are those of a first start.
struct Options {
    std::string firstTime = "000";
    bool shadows = true;
    bool strikeOut = true;
    std::string category;
    bool confirm = true;
    bool dragConfirm = true;
    bool colorDone = true;
    bool colorNotDone = true;
    bool colorHoliday = true; // not stored: on at every start
    bool autoStart = false;   // start in the tray
    bool startup = false;     // the log-on autostart entry exists
    bool popup = true;
    WinColor doneFG = 0x00000000;
    WinColor doneBG = 0x00FFFF00;
    WinColor notDoneFG = 0x00FFFFFF;
    WinColor notDoneBG = 0x000000FF;
    WinColor holidayFG = 0x00000000;
    WinColor holidayBG = 0x0000FFFF;
    int alarmMin = 0; // 0 to 120
    std::string alarmPath;
    bool playAlarm = true;
    bool repeatAlarm = true;
    bool sunday = true; // weeks start on Sunday, else Monday
    int rowHeight = 16; // 8 to 50
    FontSpec calFont{"Ms Sans Serif", 8};
    FontSpec gridFont{"Ms Sans Serif", 8};
    FontSpec titleFont{"Times New Roman", 20};
};

} // namespace dw
