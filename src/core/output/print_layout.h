#pragma once

#include "core/settings/options.h"

#include <string>

namespace dw {

// Where a piece of the page header or footer goes.
enum class PagePlace { None, TopLeft, TopCentre, TopRight, BottomLeft };

enum class FitToWidth { Never, ShrinkWhenTooWide, Always };

// How one table is printed. Sizes are in tenths of a millimetre; the gap between two
// printed columns is the column spacing plus 20. No borders are drawn and the whole table,
// header row included, is printed.
struct PrintLayout {
    std::string title;
    PagePlace titlePlace = PagePlace::TopCentre;
    PagePlace datePlace = PagePlace::None; // the print date in the short date format
    PagePlace timePlace = PagePlace::None; // the print time in the short time format
    bool landscape = false;
    FitToWidth fit = FitToWidth::Never;
    FontSpec tableFont;
    FontSpec headerFont; // the page header (title, date, time)
    FontSpec footerFont;
    int marginLeft = 20;
    int marginRight = 20;
    int headerSize = 20;
    int footerSize = 20;
    int columnSpacing = 10;

    int columnGap() const { return columnSpacing + 20; }
};

// The four printed tables' layouts. The day view's title is its date caption at print time.
PrintLayout dayViewPrintLayout(const std::string& dateCaption, const FontSpec& gridFont);
PrintLayout todoPrintLayout(const FontSpec& gridFont);
PrintLayout printTablePrintLayout();
PrintLayout completedPrintLayout();

// The holiday list: "Holidays" centred at the top, portrait.
PrintLayout holidayPrintLayout();

} // namespace dw
