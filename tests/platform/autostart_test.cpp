#include "dayweaver_config.h"
#include "platform/autostart.h"
#include "support/temp_dir.h"

#include <QByteArray>
#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

// Points XDG_CONFIG_HOME at a fresh folder for one test.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = qgetenv("XDG_CONFIG_HOME");
        hadOld_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.path()));
    }
    void TearDown() override {
        if (hadOld_)
            qputenv("XDG_CONFIG_HOME", old_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    std::string entry() const { return dir_.read("autostart/dayweaver.desktop"); }

    test::TempDir dir_;
    QByteArray old_;
    bool hadOld_ = false;
};

TEST_F(AutostartTest, EntryLivesUnderTheConfigFolder) {
    EXPECT_EQ(autostartFilePath(), dir_.file("autostart/dayweaver.desktop"));
    qputenv("XDG_CONFIG_HOME", "relative/dir"); // not absolute: ignored
    EXPECT_EQ(autostartFilePath(),
              (QDir::homePath() + "/.config/autostart/dayweaver.desktop").toStdString());
}

TEST_F(AutostartTest, WritesReplacesAndDeletesTheEntry) {
    std::string error;
    EXPECT_FALSE(autostartEntryExists());
    EXPECT_TRUE(writeAutostart(false, "/opt/dw/dayweaver", error)); // absent: silent
    EXPECT_TRUE(error.empty());

    ASSERT_TRUE(writeAutostart(true, "/opt/dw/dayweaver", error)) << error;
    EXPECT_TRUE(autostartEntryExists());
    EXPECT_NE(entry().find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry().find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry().find("\nExec=/opt/dw/dayweaver\n"), std::string::npos);
    // The desktop shows the entry with the installed program's icon.
    EXPECT_NE(entry().find("\nIcon=" + std::string(kDesktopId) + "\n"), std::string::npos);

    ASSERT_TRUE(writeAutostart(true, "/opt/My Apps/dayweaver", error)) << error;
    EXPECT_NE(entry().find("\nExec=\"/opt/My Apps/dayweaver\"\n"), std::string::npos);

    ASSERT_TRUE(writeAutostart(false, "/opt/dw/dayweaver", error)) << error;
    EXPECT_FALSE(autostartEntryExists());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("autostart/dayweaver.desktop")));
}

TEST_F(AutostartTest, AnEntryWithoutAProgramDoesNotCount) {
    std::filesystem::create_directories(dir_.file("autostart"));
    dir_.write("autostart/dayweaver.desktop", "[Desktop Entry]\nType=Application\nExec=  \n");
    EXPECT_FALSE(autostartEntryExists());
    dir_.write("autostart/dayweaver.desktop", "[Other]\nExec=/bin/true\n");
    EXPECT_FALSE(autostartEntryExists());
    dir_.write("autostart/dayweaver.desktop", "[Desktop Entry]\nExec = /bin/dw\n");
    EXPECT_TRUE(autostartEntryExists());
}

TEST_F(AutostartTest, ReportsAnEntryThatCannotBeWritten) {
    dir_.write("autostart", "a file where the folder should be");
    std::string error;
    EXPECT_FALSE(writeAutostart(true, "/opt/dw/dayweaver", error));
    EXPECT_NE(error.find("autostart"), std::string::npos) << error;
    EXPECT_FALSE(autostartEntryExists());

    error.clear();
    EXPECT_FALSE(writeAutostart(true, "/opt/dw/day\nweaver", error));
    EXPECT_FALSE(error.empty());
}

TEST(DesktopExec, QuotesWhatTheEntryFormatNeeds) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/dayweaver", "/usr/bin/dayweaver"},
        {"/opt/My Apps/dw", "\"/opt/My Apps/dw\""},
        {"/opt/a$b/dw", "\"/opt/a\\\\$b/dw\""}, // \$ inside quotes, then \ doubled
        {"/opt/say \"hi\"/dw", "\"/opt/say \\\\\"hi\\\\\"/dw\""},
        {"/opt/100%/dw", "/opt/100%%/dw"},
        {"/opt/it's/dw", "\"/opt/it's/dw\""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(desktopExecArgument(path), expected) << path;
}

} // namespace
} // namespace dw
