#include "core/dates/date_format.h"
#include "core/dates/date_parse.h"
#include "core/dates/date_serial.h"
#include "platform/locale_settings.h"

#include <QLocale>
#include <QString>
#include <gtest/gtest.h>
#include <string>

namespace dw {
namespace {

TEST(LocaleSettings, QtPatternsInWindowsStyle) {
    const struct {
        const char* qt;
        const char* windows;
        bool amPm;
    } cases[] = {
        {"M/d/yy", "M/d/yy", false},
        {"dddd, MMMM d, yyyy", "dddd, MMMM d, yyyy", false},
        {"dd.MM.yyyy", "dd.MM.yyyy", false},
        // The hour letters depend on whether the pattern shows AM/PM.
        {"h:mm AP", "h:mm tt", true},
        {"hh:mm ap", "hh:mm tt", true},
        {"h:mm a", "h:mm tt", true},
        {"h:mm Ap", "h:mm tt", true},
        {"AP h:mm", "tt h:mm", true},
        {"h:mm", "H:mm", false},
        {"hh:mm:ss", "HH:mm:ss", false},
        {"h.mm", "H.mm", false},
        {"HH:mm", "HH:mm", false},
        {"H:mm AP", "H:mm tt", true},
        // The time zone goes, with what sets it off, wherever it stands.
        {"h:mm:ss AP t", "h:mm:ss tt", true},
        {"HH:mm:ss tttt", "HH:mm:ss", false},
        {"t HH:mm:ss", "HH:mm:ss", false},
        {"H:mm:ss (t)", "H:mm:ss", false},
        {"APh:mm:ss [t]", "tth:mm:ss", true},
        {"HH:mm:ss, t", "HH:mm:ss", false},
        {"h:mm:ss AP, t", "h:mm:ss tt", true},
        // An unconverted day period counts as AM/PM.
        {"Bh:mm", "tth:mm", true},
        {"HH:mm t 'Uhr'", "HH:mm 'Uhr'", false},
        // Milliseconds have no Windows letter.
        {"HH:mm:ss.zzz", "HH:mm:ss", false},
        // Quoted text is kept as it is, even when it holds pattern letters.
        {"H:mm 'ч'.", "H:mm 'ч'.", false},
        {"dddd, d 'de' MMMM 'de' yyyy", "dddd, d 'de' MMMM 'de' yyyy", false},
        {"h 'o''clock' AP", "h 'o''clock' tt", true},
        {"HH 'at' mm", "HH 'at' mm", false},
        // No-break spaces become plain ones.
        {"h:mm\u202FAP", "h:mm tt", true},
        {"d\u00A0MMM yyyy", "d MMM yyyy", false},
        // Direction marks between the numbers of a right-to-left date go too.
        {"d\u200F/M\u200F/yyyy", "d/M/yyyy", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qt);
        bool amPm = !c.amPm;
        EXPECT_EQ(windowsPatternFromQt(QString::fromUtf8(c.qt), amPm), c.windows);
        EXPECT_EQ(amPm, c.amPm);
    }
}

TEST(LocaleSettings, SeparatorsBetweenFields) {
    const struct {
        const char* pattern;
        const char* fields;
        char expected;
    } cases[] = {
        {"M/d/yy", "dMy", '/'},
        {"dd.MM.yyyy", "dMy", '.'},
        {"yyyy. MM. dd.", "dMy", '.'},
        {"d MMM yyyy", "dMy", ' '},
        {"d\u200F/M\u200F/yyyy", "dMy", '/'}, // bidi marks are no separator
        {"'Day' d-M-yyyy", "dMy", '-'},
        {"yyyy年M月d日", "dMy", '/'}, // nothing usable: the fallback
        {"h:mm tt", "hHms", ':'},
        {"tt h:mm", "hHms", ':'},
        {"H.mm", "hHms", '.'},
        {"HH", "hHms", ':'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const char fallback = c.fields[0] == 'd' ? '/' : ':';
        EXPECT_EQ(fieldSeparatorOf(c.pattern, c.fields, fallback), c.expected);
    }
}

TEST(LocaleSettings, UnitedStates) {
    const FormatSettings fs = formatSettingsFrom(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(fs.shortDateFormat, "M/d/yy");
    EXPECT_EQ(fs.longDateFormat, "dddd, MMMM d, yyyy");
    EXPECT_EQ(fs.shortTimeFormat, "h:mm tt");
    EXPECT_EQ(fs.longTimeFormat, "h:mm:ss tt");
    EXPECT_EQ(fs.timeAMString, "AM");
    EXPECT_EQ(fs.timePMString, "PM");
    EXPECT_EQ(fs.dateSeparator, '/');
    EXPECT_EQ(fs.timeSeparator, ':');
    EXPECT_EQ(fs.decimalSeparator, '.');
    EXPECT_EQ(fs.longMonthNames[0], "January");
    EXPECT_EQ(fs.shortMonthNames[11], "Dec");
    EXPECT_EQ(fs.longDayNames[0], "Sunday");
    EXPECT_EQ(fs.shortDayNames[6], "Sat");
}

TEST(LocaleSettings, GermanyIsTwentyFourHour) {
    const FormatSettings fs = formatSettingsFrom(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(fs.shortDateFormat, "dd.MM.yy");
    EXPECT_EQ(fs.shortTimeFormat, "HH:mm");
    EXPECT_EQ(fs.longTimeFormat, "HH:mm:ss");
    EXPECT_EQ(fs.timeAMString, "");
    EXPECT_EQ(fs.timePMString, "");
    EXPECT_EQ(fs.dateSeparator, '.');
    EXPECT_EQ(fs.timeSeparator, ':');
    EXPECT_EQ(fs.decimalSeparator, ',');
    EXPECT_EQ(fs.longMonthNames[2], "März");
    EXPECT_EQ(fs.longDayNames[0], "Sonntag");
    EXPECT_EQ(fs.longDayNames[1], "Montag");
}

// What the locale yields must work with the formatter and reader end to end: after the
// start-up adjustment the program's texts read back as what was written.
TEST(LocaleSettings, TextsReadBackAfterAdjustment) {
    const DateSerial s = encodeDateTime(2000, 3, 15, 18, 5);
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Korean, QLocale::SouthKorea),
          QLocale(QLocale::Finnish, QLocale::Finland)}) {
        SCOPED_TRACE(locale.name().toStdString());
        FormatSettings fs = formatSettingsFrom(locale);
        fix2000(fs);
        const std::string time = formatDateTime("t", s, fs);
        const std::string date = formatDateTime("ddddd", s, fs);
        SCOPED_TRACE(time + " / " + date);
        const auto readTime = parseTimeText(time, fs);
        ASSERT_TRUE(readTime.has_value());
        EXPECT_EQ(decodeTime(*readTime), (ClockTime{18, 5, 0, 0}));
        EXPECT_EQ(parseShortDateText(date, fs, 2024), wholeDays(s));
    }
}

} // namespace
} // namespace dw
