#include "core/settings/option_keys.h"
#include "platform/qsettings_backend.h"
#include "support/temp_dir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(QSettingsBackend, WritesSectionsAndTopLevelValuesAndReadsThemBack) {
    test::TempDir dir;
    const QString ini = QString::fromStdString(dir.file("Task.conf"));
    {
        QSettingsBackend b(ini);
        EXPECT_EQ(b.value("Options", "Category"), std::nullopt);
        EXPECT_TRUE(b.setValue("Options", "Category", "Büro, Haus"));
        EXPECT_TRUE(b.setValue("", "Split2", "296"));
        EXPECT_TRUE(b.setValue("Memorize", "Top", "-10"));
    }
    // A second backend on the same file: nothing lives only in memory.
    QSettingsBackend b(ini);
    EXPECT_EQ(b.value("Options", "Category"), "Büro, Haus");
    EXPECT_EQ(b.value("", "Split2"), "296");
    EXPECT_EQ(b.value("Memorize", "Top"), "-10");
    EXPECT_EQ(b.value("", "Top"), std::nullopt);
    EXPECT_EQ(b.value("Options", "Split2"), std::nullopt);

    b.remove("OPTIONS", "category");
    EXPECT_EQ(b.value("Options", "Category"), std::nullopt);
    b.remove("Nowhere", "Nothing"); // silent
    EXPECT_EQ(b.value("Memorize", "Top"), "-10");
}

TEST(QSettingsBackend, HandEditedFileInOtherCaseIsReadAndOverwrittenInPlace) {
    test::TempDir dir;
    dir.write("Task.conf", "[OPTIONS]\nrowheight=30\nCategory=a, b\n\n[General]\nSPLIT1=200\n");
    const QString ini = QString::fromStdString(dir.file("Task.conf"));
    QSettingsBackend b(ini);
    SettingsStore s(b);
    EXPECT_EQ(s.readInteger("Options", "RowHeight", 16), 30);
    EXPECT_EQ(s.readInteger("", "Split1", 314), 200);
    EXPECT_EQ(s.readString("Options", "Category", ""), "a, b");

    EXPECT_TRUE(s.writeInteger("Options", "RowHeight", 40));
    EXPECT_TRUE(s.writeInteger("", "Split1", 250));
    EXPECT_EQ(s.readInteger("options", "ROWHEIGHT", 16), 40);
    const std::string text = dir.read("Task.conf");
    EXPECT_EQ(text.find("RowHeight"), std::string::npos) << text; // no second spelling
    EXPECT_EQ(text.find("[Options]"), std::string::npos) << text;
    EXPECT_NE(text.find("rowheight=40"), std::string::npos) << text;
    EXPECT_NE(text.find("SPLIT1=250"), std::string::npos) << text;
}

TEST(QSettingsBackend, OptionsSurviveTheRoundTrip) {
    test::TempDir dir;
    QSettingsBackend b(QString::fromStdString(dir.file("Task.conf")));
    SettingsStore s(b);
    Options o;
    o.category = "Work; \"urgent\"";
    o.alarmPath = "/home/me/My Sounds/ring=1.wav";
    o.doneFG = 0x80000008;
    o.titleFont = {"DejaVu Serif", 14, true, true, false, false};
    ASSERT_TRUE(saveOptions(s, o));
    const Options back = readOptions(s, "/opt", false);
    EXPECT_EQ(back.firstTime, "first");
    EXPECT_EQ(back.category, o.category);
    EXPECT_EQ(back.alarmPath, o.alarmPath);
    EXPECT_EQ(back.doneFG, o.doneFG);
    EXPECT_EQ(back.titleFont, o.titleFont);
}

TEST(QSettingsBackend, ReportsAWriteThatCannotReachTheDisk) {
    test::TempDir dir;
    dir.write("blocker", "a file where the folder should be");
    QSettingsBackend b(QString::fromStdString(dir.file("blocker") + "/Task.conf"));
    EXPECT_FALSE(b.setValue("Options", "Shadows", "1"));
}

} // namespace
} // namespace dw
