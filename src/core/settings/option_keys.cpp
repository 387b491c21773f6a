#include "core/settings/option_keys.h"

#include "core/store/helpers.h"

#include <algorithm>
#include <stdexcept>

namespace dw {

namespace {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        return low(x) == low(y);
    });
}

const OptionKey& opt(std::string_view name) {
    return optionKey(Section::Options, name);
}

std::string str(std::string_view s) {
    return std::string(s);
}

// A font read the way the options window reads it: face and size replace the current
// ones, and each style flag that reads true adds its style (false removes nothing).
FontSpec readFont(const SettingsStore& store, const std::string& prefix, FontSpec font) {
    font.name = readKeyText(store, opt(prefix + "FontName"));
    const int size = readKeyInteger(store, opt(prefix + "FontSize"));
    // A size of 0 or less cannot be shown; keep the current one.
    if (size > 0)
        font.size = size;
    if (readKeyFlag(store, opt(prefix + "FontBold")))
        font.bold = true;
    if (readKeyFlag(store, opt(prefix + "FontItalic")))
        font.italic = true;
    if (readKeyFlag(store, opt(prefix + "FontUnder")))
        font.underline = true;
    if (readKeyFlag(store, opt(prefix + "FontStrike")))
        font.strikeOut = true;
    return font;
}

class Writer {
public:
    explicit Writer(SettingsStore& store) : store_(store) {}
    void text(std::string_view name, const std::string& v) {
        ok_ = store_.writeString(str(Section::Options), str(opt(name).name), v) && ok_;
    }
    void integer(std::string_view name, int v) {
        ok_ = store_.writeInteger(str(Section::Options), str(opt(name).name), v) && ok_;
    }
    void flag(std::string_view name, bool v) {
        ok_ = store_.writeBool(str(Section::Options), str(opt(name).name), v) && ok_;
    }
    void color(std::string_view name, WinColor v) { integer(name, static_cast<int>(v)); }
    void font(const std::string& prefix, const FontSpec& f) {
        text(prefix + "FontName", f.name);
        integer(prefix + "FontSize", f.size);
        flag(prefix + "FontBold", f.bold);
        flag(prefix + "FontItalic", f.italic);
        flag(prefix + "FontUnder", f.underline);
        flag(prefix + "FontStrike", f.strikeOut);
    }
    bool ok() const { return ok_; }

private:
    SettingsStore& store_;
    bool ok_ = true;
};

} // namespace

const OptionKey* findOptionKey(std::string_view section, std::string_view name) {
    for (const auto& k : kOptionKeys)
        if (equalsIgnoreCase(k.section, section) && equalsIgnoreCase(k.name, name))
            return &k;
    return nullptr;
}

const OptionKey& optionKey(std::string_view section, std::string_view name) {
    if (const OptionKey* k = findOptionKey(section, name))
        return *k;
    throw std::logic_error("unknown settings value " + str(section) + "/" + str(name));
}

std::string optionDefaultText(const OptionKey& key, const std::string& programDir) {
    if (equalsIgnoreCase(key.section, Section::Options) && equalsIgnoreCase(key.name, "AlarmPath"))
        return joinPath(programDir, str(kDefaultAlarmFile));
    return str(key.def);
}

std::string readKeyText(const SettingsStore& store, const OptionKey& key,
                        const std::string& programDir) {
    return store.readString(str(key.section), str(key.name), optionDefaultText(key, programDir));
}

int readKeyInteger(const SettingsStore& store, const OptionKey& key) {
    int def = 0;
    parseSettingsInteger(str(key.def), def);
    return store.readInteger(str(key.section), str(key.name), def);
}

bool readKeyFlag(const SettingsStore& store, const OptionKey& key) {
    return store.readBool(str(key.section), str(key.name), key.def != "0");
}

Options readOptions(const SettingsStore& store, const std::string& programDir,
                    bool autostartEntryExists) {
    Options o;
    auto flag = [&](std::string_view name) { return readKeyFlag(store, opt(name)); };
    auto integer = [&](std::string_view name) { return readKeyInteger(store, opt(name)); };
    auto color = [&](std::string_view name) { return static_cast<WinColor>(integer(name)); };

    o.firstTime = readKeyText(store, opt("FirstTime"));
    // Until the options are saved once, offer the log-on entry as on.
    o.startup = autostartEntryExists || o.firstTime == "000";

    o.shadows = flag("Shadows");
    o.strikeOut = flag("StrikeOut");
    o.category = readKeyText(store, opt("Category"));
    o.confirm = flag("Confirm");
    o.dragConfirm = flag("DragConfirm");
    o.colorDone = flag("DoneColor");
    o.colorNotDone = flag("NotDoneColor");
    o.autoStart = flag("AutoStart");
    o.popup = flag("qPopup");
    o.doneFG = color("DoneColorFG");
    o.alarmMin = std::clamp(integer("AlarmMin"), kAlarmMinMin, kAlarmMinMax);
    o.doneBG = color("DoneColorBG");
    o.notDoneFG = color("NotDoneColorFG");
    o.notDoneBG = color("NotDoneColorBG");
    o.holidayFG = color("HolidayColorFG");
    o.holidayBG = color("HolidayColorBG");
    o.alarmPath = readKeyText(store, opt("AlarmPath"), programDir);
    o.playAlarm = flag("PlayAlarm");
    o.repeatAlarm = flag("RepeatAlarm");
    o.sunday = flag("Sunday");
    o.rowHeight = std::clamp(integer("RowHeight"), kRowHeightMin, kRowHeightMax);

    const Options defaults;
    o.calFont = readFont(store, "Cal", defaults.calFont);
    o.gridFont = readFont(store, "Grid", defaults.gridFont);
    o.titleFont = readFont(store, "Title", defaults.titleFont);
    return o;
}

bool saveOptions(SettingsStore& store, const Options& o) {
    Writer w(store);
    w.text("FirstTime", "first");
    w.flag("Shadows", o.shadows);
    w.flag("Confirm", o.confirm);
    w.flag("DragConfirm", o.dragConfirm);
    w.text("Category", o.category);
    w.flag("DoneColor", o.colorDone);
    w.flag("NotDoneColor", o.colorNotDone);
    w.flag("AutoStart", o.autoStart);
    w.flag("qPopup", o.popup);
    w.color("DoneColorFG", o.doneFG);
    w.color("DoneColorBG", o.doneBG);
    w.color("NotDoneColorFG", o.notDoneFG);
    w.color("NotDoneColorBG", o.notDoneBG);
    w.color("HolidayColorFG", o.holidayFG);
    w.color("HolidayColorBG", o.holidayBG);
    w.integer("AlarmMin", o.alarmMin);
    w.flag("StrikeOut", o.strikeOut);
    w.text("AlarmPath", o.alarmPath);
    w.flag("PlayAlarm", o.playAlarm);
    w.flag("RepeatAlarm", o.repeatAlarm);
    w.flag("Sunday", o.sunday);
    w.integer("RowHeight", o.rowHeight);
    w.font("Cal", o.calFont);
    w.font("Grid", o.gridFont);
    w.font("Title", o.titleFont);
    return w.ok();
}

} // namespace dw
