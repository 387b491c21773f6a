#include "core/output/print_layout.h"

namespace dw {

namespace {

FontSpec arial(int points, bool bold = false) {
    FontSpec f;
    f.name = "Arial";
    f.size = points;
    f.bold = bold;
    f.italic = false;
    f.underline = false;
    f.strikeOut = false;
    return f;
}

PrintLayout gridFontLayout(std::string title, const FontSpec& gridFont) {
    PrintLayout layout;
    layout.title = std::move(title);
    layout.datePlace = PagePlace::BottomLeft;
    layout.tableFont = gridFont;
    layout.headerFont = gridFont;
    layout.footerFont = gridFont;
    return layout;
}

} // namespace

PrintLayout dayViewPrintLayout(const std::string& dateCaption, const FontSpec& gridFont) {
    return gridFontLayout(dateCaption, gridFont);
}

PrintLayout todoPrintLayout(const FontSpec& gridFont) {
    return gridFontLayout("To-do Tasks", gridFont);
}

PrintLayout printTablePrintLayout() {
    PrintLayout layout;
    // The title stays the same whatever the selection.
    layout.title = "Tasks for ALL dates";
    layout.datePlace = PagePlace::TopLeft;
    layout.timePlace = PagePlace::TopRight;
    layout.fit = FitToWidth::ShrinkWhenTooWide;
    layout.tableFont = arial(10);
    layout.headerFont = arial(10);
    layout.footerFont = arial(10);
    return layout;
}

PrintLayout completedPrintLayout() {
    PrintLayout layout;
    layout.title = "Completed Tasks";
    layout.datePlace = PagePlace::TopLeft;
    layout.timePlace = PagePlace::TopRight;
    layout.landscape = true;
    layout.fit = FitToWidth::Always;
    layout.tableFont = arial(9);
    layout.headerFont = arial(9, true);
    layout.footerFont = arial(8);
    layout.footerSize = 10;
    layout.columnSpacing = 0;
    return layout;
}

PrintLayout holidayPrintLayout() {
    PrintLayout layout;
    layout.title = "Holidays";
    layout.titlePlace = PagePlace::TopCentre;
    layout.landscape = false;
    layout.tableFont = arial(10);
    layout.headerFont = arial(10);
    layout.footerFont = arial(10);
    return layout;
}

} // namespace dw
