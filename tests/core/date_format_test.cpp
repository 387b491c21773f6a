#include "core/dates/date_format.h"
#include "core/dates/date_serial.h"
#include "core/dates/format_settings.h"

#include <gtest/gtest.h>
#include <string>

namespace dw {
namespace {

// A 24-hour locale with its own separators and names, to show nothing is taken from en-US.
FormatSettings germanSettings() {
    FormatSettings fs;
    fs.shortDateFormat = "dd.MM.yyyy";
    fs.longDateFormat = "dddd, d. MMMM yyyy";
    fs.shortTimeFormat = "HH:mm";
    fs.longTimeFormat = "HH:mm:ss";
    fs.timeAMString = "";
    fs.timePMString = "";
    fs.dateSeparator = '.';
    fs.timeSeparator = ':';
    fs.decimalSeparator = ',';
    fs.longMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    fs.shortMonthNames = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                          "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    fs.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                       "Donnerstag", "Freitag", "Samstag"};
    fs.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    return fs;
}

struct FormatCase {
    const char* pattern;
    const char* enUS;
    const char* german;
};

// 15 March 2000 (a Wednesday) at 18:05:09.
TEST(DateFormat, ProgramPatternsInBothLocales) {
    const DateSerial s = encodeDateTime(2000, 3, 15, 18, 5, 9);
    const FormatCase cases[] = {
        {"t", "6:05 PM", "18:05"},
        {"tt", "6:05:09 PM", "18:05:09"},
        {"ddd", "Wed", "Mi"},
        {"dddd", "Wednesday", "Mittwoch"},
        {"ddddd", "3/15/2000", "15.03.2000"},
        {"dddddd", "Wednesday, March 15, 2000", "Mittwoch, 15. März 2000"},
        {"ddd ddddd", "Wed 3/15/2000", "Mi 15.03.2000"},
        {"dddddd tt", "Wednesday, March 15, 2000 6:05:09 PM", "Mittwoch, 15. März 2000 18:05:09"},
        {"mmmm yyyy", "March 2000", "März 2000"},
        {"hh:nna/p", "06:05p", "06:05p"},
        {"c", "3/15/2000 6:05:09 PM", "15.03.2000 18:05:09"},
        // Date and time separators come from the locale.
        {"d/m/yy h:nn:ss", "15/3/00 18:05:09", "15.3.00 18:05:09"},
        {"dd/mm/yyyy", "15/03/2000", "15.03.2000"},
        {"mmm", "Mar", "Mär"},
        // "ampm" takes the locale's designators (none in a 24-hour locale) and still makes h
        // count 1 to 12.
        {"h ampm", "6 PM", "6 "},
    };
    const FormatSettings us = FormatSettings::enUS();
    const FormatSettings de = germanSettings();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatDateTime(c.pattern, s, us), c.enUS);
        EXPECT_EQ(formatDateTime(c.pattern, s, de), c.german);
    }
}

TEST(DateFormat, TokensAndTheirWidths) {
    // 5 January 2009 (a Monday) at 07:08:09.045: single digits show whether padding happens.
    const DateSerial s = dateSerialOf(2009, 1, 5) + timeFraction(7, 8, 9, 45);
    const struct {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"d dd", "5 05"},
        {"m mm", "1 01"},
        {"yy yyyy y", "09 2009 09"},
        {"h hh", "7 07"},
        {"n nn s ss", "8 08 9 09"},
        {"z zzz", "45 045"},
        // m right after an h (separators between do not count) is the minute; after any
        // other token it is the month again.
        {"h:m d/m", "7:8 5/1"},
        {"hh mm", "07 08"},
        // Letters are not case sensitive.
        {"DD/MM/YYYY HH:NN", "05/01/2009 07:08"},
        {"DDDD MMMM", "Monday January"},
        // Quoted text is copied as it is, with either quote character.
        {"\"day\" d 'of' mmmm", "day 5 of January"},
        {"'h:m' h", "h:m 7"},
        {"d 'unterminated", "5 unterminated"},
        // Anything that is not a token is copied.
        {"[d] - #", "[5] - #"},
        {"dd x", "05 x"},
    };
    const FormatSettings us = FormatSettings::enUS();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatDateTime(c.pattern, s, us), c.expected);
    }
}

TEST(DateFormat, TwelveHourMarkersKeepTheirLetterCase) {
    const FormatSettings us = FormatSettings::enUS();
    const struct {
        int hour;
        const char* pattern;
        const char* expected;
    } cases[] = {
        {0, "h:nn am/pm", "12:00 am"},
        {11, "h:nn am/pm", "11:00 am"},
        {12, "h:nn am/pm", "12:00 pm"},
        {23, "h:nn AM/PM", "11:00 PM"},
        {12, "h:nn Am/pM", "12:00 pM"},
        {9, "hh:nnA/P", "09:00A"},
        {21, "hh:nna/p", "09:00p"},
        {0, "h ampm", "12 AM"},
        // The marker may come first; h still counts 1 to 12.
        {13, "am/pm h", "pm 1"},
        // Without any marker h is the 24-hour clock.
        {13, "h:nn", "13:00"},
        {0, "hh:nn", "00:00"},
        // A lone "a" is no marker: copied, and the clock stays 24-hour.
        {13, "h a", "13 a"},
        // A marker in quotes is only text.
        {13, "h 'am/pm'", "13 am/pm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " at " + std::to_string(c.hour));
        EXPECT_EQ(formatDateTime(c.pattern, encodeDateTime(2000, 1, 1, c.hour, 0), us), c.expected);
    }
}

TEST(DateFormat, DateTimeTokenOmitsMidnight) {
    const FormatSettings us = FormatSettings::enUS();
    EXPECT_EQ(formatDateTime("c", encodeDateTime(2000, 3, 15), us), "3/15/2000");
    EXPECT_EQ(formatDateTime("c", encodeDateTime(2000, 3, 15, 0, 0, 1), us),
              "3/15/2000 12:00:01 AM");
}

TEST(DateFormat, LocalePatterns) {
    const DateSerial s = dateSerialOf(2009, 1, 5) + timeFraction(7, 8, 9);
    const DateSerial evening = encodeDateTime(2000, 3, 15, 18, 5, 9);
    const FormatSettings us = FormatSettings::enUS();
    const struct {
        const char* pattern;
        DateSerial at;
        const char* expected;
    } cases[] = {
        {"d dd ddd dddd", s, "5 05 Mon Monday"},
        {"M MM MMM MMMM", s, "1 01 Jan January"},
        {"y yy yyyy", s, "9 09 2009"},
        {"h hh H HH", evening, "6 06 18 18"},
        {"h hh", encodeDateTime(2000, 1, 1, 0, 30), "12 12"},
        {"m mm s ss", s, "8 08 9 09"},
        {"t tt", evening, "P PM"},
        {"t tt", s, "A AM"},
        // Lower-case m is always the minute, upper-case M always the month.
        {"H:m M", s, "7:8 1"},
        // '/' and ':' stand for themselves; quoted text and '' are literal.
        {"yyyy-MM-dd HH.mm", s, "2009-01-05 07.08"},
        {"d 'de' MMMM 'de' yyyy", s, "5 de January de 2009"},
        {"h 'o''clock'", s, "7 o'clock"},
        {"H''mm", s, "7'08"},
        {"HH 'h' mm", s, "07 h 08"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(formatLocalePattern(c.pattern, c.at, us), c.expected);
    }
}

TEST(DateFormat, DesignatorsOfOtherLocales) {
    const DateSerial morning = encodeDateTime(2000, 3, 15, 9, 30);
    FormatSettings de = germanSettings();
    // Empty designators write nothing; the space before them stays as written.
    EXPECT_EQ(formatLocalePattern("h:mm tt", morning, de), "9:30 ");
    EXPECT_EQ(formatLocalePattern("h:mm t", morning, de), "9:30 ");

    // "t" takes the first character, not the first byte, of a non-ASCII designator.
    FormatSettings ja = germanSettings();
    ja.timeAMString = "午前";
    ja.timePMString = "午後";
    EXPECT_EQ(formatLocalePattern("t h:mm", morning, ja), "午 9:30");
    EXPECT_EQ(formatLocalePattern("tt h:mm", morning, ja), "午前 9:30");
}

} // namespace
} // namespace dw
