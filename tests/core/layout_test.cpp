#include "core/shell/layout.h"

#include <gtest/gtest.h>
#include <vector>

namespace dw {
namespace {

TEST(GridColumns, FixedColumnsScaleAndWhatTakesTheRest) {
    struct Case {
        int dpi;
        bool scrolling;
        std::array<int, 5> day;
        std::array<int, 3> todo;
    };
    // Grid 500 wide, scroll bar 17, frame 3.
    const Case cases[] = {
        {96, false, {56, 72, 500 - 208 - 3 - 5, 40, 40}, {72, 500 - 112 - 3 - 5, 40}},
        {96, true, {56, 72, 500 - 208 - 17 - 3 - 5, 40, 40}, {72, 500 - 112 - 17 - 3 - 5, 40}},
        {144, false, {84, 108, 500 - 312 - 3 - 5, 60, 60}, {108, 500 - 168 - 3 - 5, 60}},
        {144, true, {84, 108, 500 - 312 - 17 - 3 - 5, 60, 60}, {108, 500 - 168 - 17 - 3 - 5, 60}},
        // Whole-number division: 56 * 120 / 96 = 70, 72 * 120 / 96 = 90, 40 * 120 / 96 = 50.
        {120, false, {70, 90, 500 - 260 - 3 - 5, 50, 50}, {90, 500 - 140 - 3 - 5, 50}},
    };
    for (const Case& c : cases) {
        GridMeasures m{c.dpi, 500, 17, 3, c.scrolling};
        EXPECT_EQ(dayColumnWidths(m), c.day) << c.dpi << " dpi, scrolling " << c.scrolling;
        EXPECT_EQ(todoColumnWidths(m), c.todo) << c.dpi << " dpi, scrolling " << c.scrolling;
    }
}

TEST(GridColumns, WhatNeverGoesNegativeInANarrowPane) {
    GridMeasures m{96, 100, 17, 3, true};
    EXPECT_EQ(dayColumnWidths(m)[2], 0);
    EXPECT_EQ(todoColumnWidths(m)[1], 0);
}

TEST(GridColumns, FullyVisibleRows) {
    EXPECT_EQ(fullyVisibleRows(160, 16), 10);
    EXPECT_EQ(fullyVisibleRows(175, 16), 10); // a row cut off does not count
    EXPECT_EQ(fullyVisibleRows(0, 16), 0);
    EXPECT_EQ(fullyVisibleRows(100, 0), 0);
}

TEST(WindowMeasures, MinimumWidthAndTitleCaptions) {
    EXPECT_EQ(minimumWindowWidth(96), 637);
    EXPECT_EQ(minimumWindowWidth(144), 955);                        // 637 * 144 / 96 = 955.5, cut
    EXPECT_EQ(titleCaptionHeight(20, 96, false), 20 * 96 / 72 + 8); // 34
    EXPECT_EQ(titleCaptionHeight(20, 96, true), 37);
    EXPECT_EQ(titleCaptionHeight(10, 144, true), 10 * 144 / 72 + 11);
    EXPECT_EQ(titleCaptionHeight(11, 96, false), 22); // 14.67 cut to 14, + 8
    EXPECT_EQ(titleCaptionLook(true).shadowDepth, 4);
    EXPECT_EQ(titleCaptionLook(true).color, 0x00FF0000u);
    EXPECT_EQ(titleCaptionLook(false).shadowDepth, 1);
    EXPECT_EQ(titleCaptionLook(false).color, 0x00800000u);
}

TEST(LayoutTrigger, WithoutAFlashItRunsOneLayoutPassAndStops) {
    LayoutPass pass;
    const LayoutTick t = layoutTick(pass);
    EXPECT_EQ(t.kind, LayoutTick::RunLayout);
    EXPECT_TRUE(t.stopTrigger());
}

TEST(LayoutTrigger, FlashAlternatesFifteenTimesAndEndsInButtonFace) {
    LayoutPass pass;
    pass.startFlash();
    std::vector<WinColor> colors;
    for (;;) {
        const LayoutTick t = layoutTick(pass);
        if (t.kind != LayoutTick::PaintBar) {
            EXPECT_EQ(t.kind, LayoutTick::StopFlash);
            EXPECT_TRUE(t.stopTrigger());
            break;
        }
        EXPECT_FALSE(t.stopTrigger());
        colors.push_back(t.color);
        ASSERT_LE(colors.size(), 20u);
    }
    ASSERT_EQ(colors.size(), 15u);
    for (size_t i = 0; i < colors.size(); ++i)
        EXPECT_EQ(colors[i], i % 2 == 0 ? kButtonFace : kFlashLime) << "step " << i;
    EXPECT_FALSE(pass.flashing);
    // The next enable of the trigger is a plain layout pass again.
    EXPECT_EQ(layoutTick(pass).kind, LayoutTick::RunLayout);
}

TEST(StatusClock, LongDateAndLongTime) {
    FormatSettings fs = FormatSettings::enUS();
    const DateSerial t = encodeDateTime(2000, 1, 1, 14, 5, 9);
    EXPECT_EQ(statusClockText(t, fs), "Today is Saturday, January 1, 2000 2:05:09 PM");
    fs.longTimeFormat = "h:mm tt"; // as after the start-up format adjustment
    EXPECT_EQ(statusClockText(t, fs), "Today is Saturday, January 1, 2000 2:05 PM");
}

// Keeps the order in which values are written.
class RecordingBackend : public MapSettingsBackend {
public:
    std::vector<std::string> writes;
    bool setValue(const std::string& section, const std::string& name,
                  const std::string& text) override {
        writes.push_back(section + "/" + name + "=" + text);
        return MapSettingsBackend::setValue(section, name, text);
    }
};

TEST(MemorizedLayout, WrittenInOrderAndReadBack) {
    RecordingBackend backend;
    SettingsStore store(backend);
    EXPECT_FALSE(readMemorizedLayout(store).has_value());

    writeMemorizedLayout(store, {20, 30, 500, 700, 280, 260, 140});
    const std::vector<std::string> expected = {
        "Memorize/Done=1",        "Memorize/Top=20",       "Memorize/Left=30",
        "Memorize/Height=500",    "Memorize/Width=700",    "Memorize/Split1Pos=280",
        "Memorize/Split2Pos=260", "Memorize/SplitDay=140",
    };
    EXPECT_EQ(backend.writes, expected);

    const auto back = readMemorizedLayout(store);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->top, 20);
    EXPECT_EQ(back->left, 30);
    EXPECT_EQ(back->height, 500);
    EXPECT_EQ(back->width, 700);
    EXPECT_EQ(back->split1, 280);
    EXPECT_EQ(back->split2, 260);
    EXPECT_EQ(back->splitDay, 140);
}

TEST(MemorizedLayout, MissingOrUnreadableValuesTakeTheirDefaults) {
    MapSettingsBackend backend;
    SettingsStore store(backend);
    store.writeBool("Memorize", "Done", true);
    store.writeString("Memorize", "Width", "wide");
    const auto l = readMemorizedLayout(store);
    ASSERT_TRUE(l.has_value());
    EXPECT_EQ(l->top, 10);
    EXPECT_EQ(l->left, 10);
    EXPECT_EQ(l->height, 400);
    EXPECT_EQ(l->width, 600);
    EXPECT_EQ(l->split1, 250);
    EXPECT_EQ(l->split2, 250);
    EXPECT_EQ(l->splitDay, 100);

    store.writeBool("Memorize", "Done", false);
    EXPECT_FALSE(readMemorizedLayout(store).has_value());
}

} // namespace
} // namespace dw

namespace dw {
namespace {

TEST(GridLayout, TimeColumnFitsTheWidestTimeText) {
    GridMeasures m{96, 600, 17, 4, false, 0};
    EXPECT_EQ(dayColumnWidths(m)[0], 56);
    m.timeTextWidth = 70;
    const auto widths = dayColumnWidths(m);
    EXPECT_EQ(widths[0], 70);
    EXPECT_EQ(widths[2], 600 - 70 - 72 - 40 - 40 - 4 - 5);
}

} // namespace
} // namespace dw
