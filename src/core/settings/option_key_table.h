#pragma once

#include <array>
#include <string_view>

namespace dw {

enum class KeyType {
    Text,
    Flag,    // "1" / "0"; any integer reads, true when not 0
    Integer, // signed decimal; "0x" hexadecimal reads too
};

// One persistent value: its section ("" for a value directly under the program's key),
// its name, its type and its default as the text it would be written as.
struct OptionKey {
    std::string_view section;
    std::string_view name;
    KeyType type;
    std::string_view def;
};

namespace Section {
inline constexpr std::string_view Options = "Options";
inline constexpr std::string_view Filter = "Filter";
inline constexpr std::string_view WebCal = "WebCal";
inline constexpr std::string_view Memorize = "Memorize";
inline constexpr std::string_view Key = ""; // directly under the program's key
} // namespace Section

// The file name of the default alarm sound the program ships.
inline constexpr std::string_view kDefaultAlarmFile = "alarm.wav";

// Every value the program reads or writes, with its default. AlarmPath's default here is
// only the file name: the real default is that name in the folder of the
// program's shipped files (optionDefaultText).
inline constexpr std::array kOptionKeys{
    OptionKey{Section::Options, "FirstTime", KeyType::Text, "000"},
    OptionKey{Section::Options, "Shadows", KeyType::Flag, "1"},
    OptionKey{Section::Options, "StrikeOut", KeyType::Flag, "1"},
    OptionKey{Section::Options, "Category", KeyType::Text, ""},
    OptionKey{Section::Options, "Confirm", KeyType::Flag, "1"},
    OptionKey{Section::Options, "DragConfirm", KeyType::Flag, "1"},
    OptionKey{Section::Options, "DoneColor", KeyType::Flag, "1"},
    OptionKey{Section::Options, "NotDoneColor", KeyType::Flag, "1"},
    OptionKey{Section::Options, "AutoStart", KeyType::Flag, "0"},
    OptionKey{Section::Options, "qPopup", KeyType::Flag, "1"},
    OptionKey{Section::Options, "DoneColorFG", KeyType::Integer, "0"},
    OptionKey{Section::Options, "DoneColorBG", KeyType::Integer, "16776960"},
    OptionKey{Section::Options, "NotDoneColorFG", KeyType::Integer, "16777215"},
    OptionKey{Section::Options, "NotDoneColorBG", KeyType::Integer, "255"},
    OptionKey{Section::Options, "HolidayColorFG", KeyType::Integer, "0"},
    OptionKey{Section::Options, "HolidayColorBG", KeyType::Integer, "65535"},
    OptionKey{Section::Options, "AlarmMin", KeyType::Integer, "0"},
    OptionKey{Section::Options, "AlarmPath", KeyType::Text, kDefaultAlarmFile},
    OptionKey{Section::Options, "PlayAlarm", KeyType::Flag, "1"},
    OptionKey{Section::Options, "RepeatAlarm", KeyType::Flag, "1"},
    OptionKey{Section::Options, "Sunday", KeyType::Flag, "1"},
    OptionKey{Section::Options, "RowHeight", KeyType::Integer, "16"},
    OptionKey{Section::Options, "CalFontName", KeyType::Text, "Ms Sans Serif"},
    OptionKey{Section::Options, "CalFontSize", KeyType::Integer, "8"},
    OptionKey{Section::Options, "CalFontBold", KeyType::Flag, "0"},
    OptionKey{Section::Options, "CalFontItalic", KeyType::Flag, "0"},
    OptionKey{Section::Options, "CalFontUnder", KeyType::Flag, "0"},
    OptionKey{Section::Options, "CalFontStrike", KeyType::Flag, "0"},
    OptionKey{Section::Options, "GridFontName", KeyType::Text, "Ms Sans Serif"},
    OptionKey{Section::Options, "GridFontSize", KeyType::Integer, "8"},
    OptionKey{Section::Options, "GridFontBold", KeyType::Flag, "0"},
    OptionKey{Section::Options, "GridFontItalic", KeyType::Flag, "0"},
    OptionKey{Section::Options, "GridFontUnder", KeyType::Flag, "0"},
    OptionKey{Section::Options, "GridFontStrike", KeyType::Flag, "0"},
    OptionKey{Section::Options, "TitleFontName", KeyType::Text, "Times New Roman"},
    OptionKey{Section::Options, "TitleFontSize", KeyType::Integer, "20"},
    OptionKey{Section::Options, "TitleFontBold", KeyType::Flag, "0"},
    OptionKey{Section::Options, "TitleFontItalic", KeyType::Flag, "0"},
    OptionKey{Section::Options, "TitleFontUnder", KeyType::Flag, "0"},
    OptionKey{Section::Options, "TitleFontStrike", KeyType::Flag, "0"},
    OptionKey{Section::Filter, "NotDone", KeyType::Flag, "1"},
    OptionKey{Section::Filter, "Done", KeyType::Flag, "1"},
    OptionKey{Section::WebCal, "LastFile", KeyType::Text, ""},
    OptionKey{Section::WebCal, "Details", KeyType::Flag, "1"},
    OptionKey{Section::Memorize, "Done", KeyType::Flag, "0"},
    OptionKey{Section::Memorize, "Top", KeyType::Integer, "10"},
    OptionKey{Section::Memorize, "Left", KeyType::Integer, "10"},
    OptionKey{Section::Memorize, "Height", KeyType::Integer, "400"},
    OptionKey{Section::Memorize, "Width", KeyType::Integer, "600"},
    OptionKey{Section::Memorize, "Split1Pos", KeyType::Integer, "250"},
    OptionKey{Section::Memorize, "Split2Pos", KeyType::Integer, "250"},
    OptionKey{Section::Memorize, "SplitDay", KeyType::Integer, "100"},
    OptionKey{Section::Key, "Split2", KeyType::Integer, "296"},
    OptionKey{Section::Key, "Split1", KeyType::Integer, "314"},
    OptionKey{Section::Key, "SplitDay", KeyType::Integer, "156"},
    OptionKey{Section::Key, "ClientHeight", KeyType::Integer, "450"},
    OptionKey{Section::Key, "ClientWidth", KeyType::Integer, "630"},
};

// The defaults of the table, looked up while compiling: a misspelt name, or one asked for
// as the wrong type, does not compile. Names are spelt as in the table.
namespace detail {

consteval const OptionKey& tableKey(std::string_view section, std::string_view name, KeyType type) {
    for (const auto& k : kOptionKeys)
        if (k.section == section && k.name == name) {
            if (k.type != type)
                throw "the settings value has another type";
            return k;
        }
    throw "no such settings value";
}

consteval int decimalValue(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty())
        throw "not a decimal number";
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            throw "not a decimal number";
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

} // namespace detail

consteval bool defaultFlag(std::string_view name, std::string_view section = Section::Options) {
    return detail::tableKey(section, name, KeyType::Flag).def != "0";
}

consteval int defaultInteger(std::string_view name, std::string_view section = Section::Options) {
    return detail::decimalValue(detail::tableKey(section, name, KeyType::Integer).def);
}

consteval std::string_view defaultText(std::string_view name,
                                       std::string_view section = Section::Options) {
    return detail::tableKey(section, name, KeyType::Text).def;
}

} // namespace dw
