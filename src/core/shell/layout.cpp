#include "core/shell/layout.h"

#include "core/dates/date_format.h"

#include <algorithm>

namespace dw {

namespace {

int scaled(int pixelsAt96, int dpi) {
    return pixelsAt96 * dpi / 96;
}

// What is left of the grid's width for the What column.
int restWidth(const GridMeasures& m, int fixedColumns) {
    const int thumb = m.scrolling ? m.scrollThumb : 0;
    return std::max(0, m.gridWidth - fixedColumns - thumb - m.frameWidth - 5);
}

constexpr const char* kMemorize = "Memorize";

} // namespace

std::array<int, 5> dayColumnWidths(const GridMeasures& m) {
    const auto fixed = [&m](int pixelsAt96, int col) {
        return std::max(scaled(pixelsAt96, m.dpi), m.fitWidths[col]);
    };
    const int time = std::max(fixed(56, 0), m.timeTextWidth);
    const int category = fixed(72, 1);
    const int done = fixed(40, 3);
    const int alarm = fixed(40, 4);
    return {time, category, restWidth(m, time + category + done + alarm), done, alarm};
}

std::array<int, 3> todoColumnWidths(const GridMeasures& m) {
    const int category = std::max(scaled(72, m.dpi), m.fitWidths[0]);
    const int done = std::max(scaled(40, m.dpi), m.fitWidths[2]);
    return {category, restWidth(m, category + done), done};
}

int fullyVisibleRows(int viewportHeight, int rowHeight) {
    if (rowHeight <= 0 || viewportHeight <= 0)
        return 0;
    return viewportHeight / rowHeight;
}

int minimumWindowWidth(int dpi) {
    return 637 * dpi / 96;
}

int titleCaptionHeight(int titlePoints, int dpi, bool shadows) {
    return titlePoints * dpi / 72 + 8 + (shadows ? 3 : 0);
}

CaptionLook titleCaptionLook(bool shadows) {
    return shadows ? CaptionLook{4, 0x00FF0000} : CaptionLook{1, 0x00800000};
}

LayoutTick layoutTick(LayoutPass& pass) {
    if (!pass.flashing)
        return {LayoutTick::RunLayout, 0};
    if (pass.counter < 1) {
        pass.flashing = false;
        return {LayoutTick::StopFlash, 0};
    }
    const WinColor color = pass.counter % 2 != 0 ? kButtonFace : kFlashLime;
    --pass.counter;
    return {LayoutTick::PaintBar, color};
}

std::string statusClockText(DateSerial now, const FormatSettings& fs) {
    return "Today is " + formatDateTime("dddddd tt", now, fs);
}

void writeMemorizedLayout(SettingsStore& store, const MemorizedLayout& l) {
    store.writeBool(kMemorize, "Done", true);
    store.writeInteger(kMemorize, "Top", l.top);
    store.writeInteger(kMemorize, "Left", l.left);
    store.writeInteger(kMemorize, "Height", l.height);
    store.writeInteger(kMemorize, "Width", l.width);
    store.writeInteger(kMemorize, "Split1Pos", l.split1);
    store.writeInteger(kMemorize, "Split2Pos", l.split2);
    store.writeInteger(kMemorize, "SplitDay", l.splitDay);
}

std::optional<MemorizedLayout> readMemorizedLayout(const SettingsStore& store) {
    if (!store.readBool(kMemorize, "Done", false))
        return std::nullopt;
    const MemorizedLayout d;
    MemorizedLayout l;
    l.top = store.readInteger(kMemorize, "Top", d.top);
    l.left = store.readInteger(kMemorize, "Left", d.left);
    l.height = store.readInteger(kMemorize, "Height", d.height);
    l.width = store.readInteger(kMemorize, "Width", d.width);
    l.split1 = store.readInteger(kMemorize, "Split1Pos", d.split1);
    l.split2 = store.readInteger(kMemorize, "Split2Pos", d.split2);
    l.splitDay = store.readInteger(kMemorize, "SplitDay", d.splitDay);
    return l;
}

} // namespace dw
