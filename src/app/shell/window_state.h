#pragma once

#include <string>

namespace dw {

// What the main window knows of its own state and its parts read: whether it has been shown,
// whether an alarm (or the close) holds the alarm checks back, and its copies of the options
// it reads at first show and after the options window. The window owns it; the parts built
// beside it are handed it by the composition (window_composition.h).
struct WindowState {
    bool shown = false;
    bool alarmBusy = false;
    bool shadows = true;
    std::string defaultCategory;
    bool confirmDeletes = true;
};

} // namespace dw
