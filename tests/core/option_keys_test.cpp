#include "core/settings/option_keys.h"

#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace dw {
namespace {

// Records the order of writes and can refuse them.
class RecordingBackend : public MapSettingsBackend {
public:
    std::vector<std::string> written;
    bool refuse = false;
    bool setValue(const std::string& section, const std::string& name,
                  const std::string& text) override {
        written.push_back(section + "/" + name);
        if (refuse)
            return false;
        return MapSettingsBackend::setValue(section, name, text);
    }
};

TEST(OptionKeys, TableHasEachValueOnceAndFindsNamesInAnyCase) {
    std::set<std::string> seen;
    for (const auto& k : kOptionKeys) {
        std::string id = std::string(k.section) + "/" + std::string(k.name);
        for (char& c : id)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(seen.insert(id).second) << id;
    }
    ASSERT_NE(findOptionKey("OPTIONS", "rowheight"), nullptr);
    EXPECT_EQ(findOptionKey("OPTIONS", "rowheight")->def, "16");
    EXPECT_EQ(findOptionKey("Memorize", "SplitDay")->def, "100");
    EXPECT_EQ(findOptionKey("", "SplitDay")->def, "156");
    EXPECT_EQ(findOptionKey("Options", "SplitDay"), nullptr);
    EXPECT_THROW(optionKey("Options", "NoSuchValue"), std::logic_error);
}

TEST(OptionKeys, EmptyStoreGivesEveryDefaultAndOffersTheLogOnEntry) {
    MapSettingsBackend b;
    SettingsStore s(b);
    const Options o = readOptions(s, "/opt/dayweaver", false);

    Options expected;
    expected.alarmPath = "/opt/dayweaver/alarm.wav";
    expected.startup = true; // never saved: on although there is no entry
    EXPECT_EQ(o.firstTime, "000");
    EXPECT_TRUE(o.startup);
    EXPECT_EQ(o.alarmPath, expected.alarmPath);
    EXPECT_EQ(o.doneBG, 0x00FFFF00u);
    EXPECT_EQ(o.notDoneFG, 0x00FFFFFFu);
    EXPECT_EQ(o.notDoneBG, 0x000000FFu);
    EXPECT_EQ(o.holidayBG, 0x0000FFFFu);
    EXPECT_EQ(o.rowHeight, 16);
    EXPECT_EQ(o.calFont, (FontSpec{"Ms Sans Serif", 8}));
    EXPECT_EQ(o.titleFont, (FontSpec{"Times New Roman", 20}));
    // Field by field through a save: every written value equals the default's.
    MapSettingsBackend a, e;
    SettingsStore sa(a), se(e);
    saveOptions(sa, o);
    saveOptions(se, expected);
    EXPECT_EQ(a.values(), e.values());
    // Nothing was written by reading.
    EXPECT_TRUE(b.values().empty());

    // The table's defaults are the in-memory defaults.
    for (const auto& k : kOptionKeys) {
        if (k.section != Section::Options || k.name == "AlarmPath" || k.name == "FirstTime")
            continue;
        const std::string key = "options/" + [&] {
            std::string n(k.name);
            for (char& c : n)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return n;
        }();
        ASSERT_TRUE(e.values().count(key)) << key;
        EXPECT_EQ(e.values().at(key), std::string(k.def)) << key;
    }
}

TEST(OptionKeys, LogOnEntryFollowsTheEntryOnceSaved) {
    MapSettingsBackend b;
    SettingsStore s(b);
    b.setValue("Options", "FirstTime", "first");
    EXPECT_FALSE(readOptions(s, "", false).startup);
    EXPECT_TRUE(readOptions(s, "", true).startup);
    b.setValue("Options", "FirstTime", "000");
    EXPECT_TRUE(readOptions(s, "", false).startup);
}

TEST(OptionKeys, ReadRulesAndSpinLimits) {
    struct Case {
        const char* name;
        const char* stored;
        int (*field)(const Options&);
        int expected;
    };
    auto rowHeight = [](const Options& o) { return o.rowHeight; };
    auto alarmMin = [](const Options& o) { return o.alarmMin; };
    auto doneFG = [](const Options& o) { return static_cast<int>(o.doneFG); };
    auto holidayBG = [](const Options& o) { return static_cast<int>(o.holidayBG); };
    auto shadows = [](const Options& o) { return int(o.shadows); };
    auto autoStart = [](const Options& o) { return int(o.autoStart); };
    const Case cases[] = {
        {"RowHeight", "60", rowHeight, 50},
        {"RowHeight", "3", rowHeight, 8},
        {"RowHeight", "-4", rowHeight, 8},
        {"RowHeight", "30", rowHeight, 30},
        {"RowHeight", "tall", rowHeight, 16},
        {"AlarmMin", "200", alarmMin, 120},
        {"AlarmMin", "-1", alarmMin, 0},
        {"AlarmMin", "15", alarmMin, 15},
        {"DoneColorFG", "0xFF", doneFG, 255},
        {"DoneColorFG", "red", doneFG, 0},
        {"HolidayColorBG", "red", holidayBG, 0xFFFF},
        {"HolidayColorBG", "-2147483643", holidayBG, static_cast<int>(0x80000005u)},
        {"Shadows", "2", shadows, 1},
        {"Shadows", "0", shadows, 0},
        {"Shadows", "yes", shadows, 1},
        {"AutoStart", "yes", autoStart, 0},
        {"AutoStart", "2", autoStart, 1},
        {"AutoStart", "0x1", autoStart, 1},
    };
    for (const auto& c : cases) {
        MapSettingsBackend b;
        SettingsStore s(b);
        b.setValue("Options", c.name, c.stored);
        EXPECT_EQ(c.field(readOptions(s, "", false)), c.expected) << c.name << " = " << c.stored;
    }
}

TEST(OptionKeys, FontStyleFlagsOnlyAddStyles) {
    MapSettingsBackend b;
    SettingsStore s(b);
    b.setValue("Options", "CalFontName", "DejaVu Sans");
    b.setValue("Options", "CalFontSize", "11");
    b.setValue("Options", "CalFontBold", "1");
    b.setValue("Options", "CalFontItalic", "0");
    b.setValue("Options", "CalFontUnder", "junk"); // default 0
    b.setValue("Options", "CalFontStrike", "7");
    b.setValue("Options", "GridFontSize", "0"); // cannot be shown: keep 8
    b.setValue("Options", "TitleFontItalic", "1");
    const Options o = readOptions(s, "", false);
    EXPECT_EQ(o.calFont, (FontSpec{"DejaVu Sans", 11, true, false, false, true}));
    EXPECT_EQ(o.gridFont, (FontSpec{"Ms Sans Serif", 8}));
    EXPECT_EQ(o.titleFont, (FontSpec{"Times New Roman", 20, false, true, false, false}));
}

TEST(OptionKeys, SaveWritesExactlyTheOptionValuesInOrder) {
    RecordingBackend b;
    SettingsStore s(b);
    Options o;
    o.category = "Work";
    o.confirm = false;
    o.doneFG = 0x80000008; // a system colour
    o.alarmMin = 15;
    o.alarmPath = "/snd/ring.wav";
    o.sunday = false;
    o.rowHeight = 20;
    o.gridFont = {"DejaVu Sans", 10, true, false, true, false};
    o.startup = true;       // not the store's business
    o.colorHoliday = false; // never stored
    ASSERT_TRUE(saveOptions(s, o));

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"FirstTime", "first"},
        {"Shadows", "1"},
        {"Confirm", "0"},
        {"DragConfirm", "1"},
        {"Category", "Work"},
        {"DoneColor", "1"},
        {"NotDoneColor", "1"},
        {"AutoStart", "0"},
        {"qPopup", "1"},
        {"DoneColorFG", "-2147483640"},
        {"DoneColorBG", "16776960"},
        {"NotDoneColorFG", "16777215"},
        {"NotDoneColorBG", "255"},
        {"HolidayColorFG", "0"},
        {"HolidayColorBG", "65535"},
        {"AlarmMin", "15"},
        {"StrikeOut", "1"},
        {"AlarmPath", "/snd/ring.wav"},
        {"PlayAlarm", "1"},
        {"RepeatAlarm", "1"},
        {"Sunday", "0"},
        {"RowHeight", "20"},
        {"CalFontName", "Ms Sans Serif"},
        {"CalFontSize", "8"},
        {"CalFontBold", "0"},
        {"CalFontItalic", "0"},
        {"CalFontUnder", "0"},
        {"CalFontStrike", "0"},
        {"GridFontName", "DejaVu Sans"},
        {"GridFontSize", "10"},
        {"GridFontBold", "1"},
        {"GridFontItalic", "0"},
        {"GridFontUnder", "1"},
        {"GridFontStrike", "0"},
        {"TitleFontName", "Times New Roman"},
        {"TitleFontSize", "20"},
        {"TitleFontBold", "0"},
        {"TitleFontItalic", "0"},
        {"TitleFontUnder", "0"},
        {"TitleFontStrike", "0"},
    };
    std::vector<std::string> order;
    std::map<std::string, std::string> contents;
    for (const auto& [name, text] : expected) {
        order.push_back("Options/" + name);
        std::string key = "options/" + name;
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        contents[key] = text;
    }
    EXPECT_EQ(b.written, order);
    EXPECT_EQ(b.values(), contents);

    // What was saved reads back as the same options.
    Options back = readOptions(s, "", false);
    Options want = o;
    want.firstTime = "first";
    want.startup = false;
    want.colorHoliday = true;
    MapSettingsBackend x, y;
    SettingsStore sx(x), sy(y);
    saveOptions(sx, back);
    saveOptions(sy, want);
    EXPECT_EQ(x.values(), y.values());
    EXPECT_EQ(back.doneFG, 0x80000008u);
}

TEST(OptionKeys, SaveTriesEveryValueAndReportsARefusal) {
    RecordingBackend b;
    b.refuse = true;
    SettingsStore s(b);
    EXPECT_FALSE(saveOptions(s, Options{}));
    EXPECT_EQ(b.written.size(), 40u);
}

} // namespace
} // namespace dw
