#pragma once

#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"
#include "core/settings/option_key_table.h"
#include "core/settings/options.h"
#include "core/settings/settings_store.h"

#include <array>
#include <optional>
#include <string>

namespace dw {

// Screen measures the column fitting needs from the platform.
struct GridMeasures {
    int dpi = 96;           // the window's pixels per inch
    int gridWidth = 0;      // the grid's outer width in pixels
    int scrollThumb = 0;    // width of the vertical scroll bar
    int frameWidth = 0;     // width of a dialog frame
    bool scrolling = false; // fewer rows fit than there are data rows
    int timeTextWidth = 0;  // the widest time text in the grid's font, padding included
    // Per column, the widest of its header text and its cells in the current fonts, padding
    // included (0: nothing to fit).
    std::array<int, 5> fitWidths{};
};

// Column widths of the day view (Time, Category, What, Done?, Alarm?) and of the to-do
// table (Category, What, Done?): the fixed columns scale with the screen's pixels per inch
// and What takes the rest. What never goes below 0 on a very narrow pane. A fixed column is
// never narrower than its header and widest cell (fitWidths), nor the Time column than the
// widest time text, so larger fonts cut neither "Alarm?" nor "12:20 AM".
std::array<int, 5> dayColumnWidths(const GridMeasures& m);
std::array<int, 3> todoColumnWidths(const GridMeasures& m);

// The number of data rows a grid shows whole: the height left under the header divided by
// the row height.
int fullyVisibleRows(int viewportHeight, int rowHeight);

// The main window's minimum width at a given pixels per inch.
int minimumWindowWidth(int dpi);

// The shadowed title captions: their height for a title font size, and their look.
int titleCaptionHeight(int titlePoints, int dpi, bool shadows);
struct CaptionLook {
    int shadowDepth = 1;
    WinColor color = 0;
};
CaptionLook titleCaptionLook(bool shadows);

// The layout trigger's work. While no splitter is flashing it runs one deferred layout pass
// and stops; while one is flashing it alternates the splitter's bar between button face and
// lime, counting down, and stops when the count is spent.
constexpr WinColor kFlashLime = 0x0000FF00;
constexpr WinColor kButtonFace = 0x8000000F;
constexpr int kFlashSteps = 15;

struct LayoutPass {
    bool flashing = false;
    int counter = 0;

    void startFlash() {
        flashing = true;
        counter = kFlashSteps;
    }
};

struct LayoutTick {
    enum Kind { RunLayout, StopFlash, PaintBar } kind = RunLayout;
    WinColor color = 0; // for PaintBar
    // Whether the trigger is to be switched off after this tick.
    bool stopTrigger() const { return kind != PaintBar; }
};
LayoutTick layoutTick(LayoutPass& pass);

// "Today is " and the date and time in the long date and long time formats.
std::string statusClockText(DateSerial now, const FormatSettings& fs);

// The window layout the user memorized (section "Memorize").
struct MemorizedLayout {
    int top = defaultInteger("Top", Section::Memorize);
    int left = defaultInteger("Left", Section::Memorize);
    int height = defaultInteger("Height", Section::Memorize);
    int width = defaultInteger("Width", Section::Memorize);
    int split1 = defaultInteger("Split1Pos", Section::Memorize);
    int split2 = defaultInteger("Split2Pos", Section::Memorize);
    int splitDay = defaultInteger("SplitDay", Section::Memorize);
};
void writeMemorizedLayout(SettingsStore& store, const MemorizedLayout& layout);
// Nothing when no layout has been memorized yet.
std::optional<MemorizedLayout> readMemorizedLayout(const SettingsStore& store);

} // namespace dw
