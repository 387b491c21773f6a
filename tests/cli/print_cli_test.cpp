#include "support/cli_in_process.h"
#include "support/pdf_probe.h"
#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using dw::test::quoted;
using dw::test::Result;
using dw::test::runShell;
using dw::test::TempDir;

class PrintCli : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& args) {
        return dw::test::InProcessCli(data.path()).run(args);
    }
    void ok(const std::vector<std::string>& args) {
        const Result r = run(args);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // The real program without QT_QPA_PLATFORM, as a scheduled job would run it: the
    // command picks the offscreen platform itself.
    void programOk(const std::vector<std::string>& args) {
        std::string cmd = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "
                          "LC_ALL=en_US.UTF-8 XDG_CONFIG_HOME=" +
                          quoted(config.path()) + " DAYWEAVER_DATA=" + quoted(data.path()) + " " +
                          quoted(DAYWEAVER_CLI);
        const Result r = runShell(cmd, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    void SetUp() override {
        ok({"add", "2024-03-05", "10:30", "Budget draft", "--category", "Work"});
        ok({"add", "2024-03-20", "14:00", "Dentist", "--category", "Health", "--done"});
        ok({"todo", "add", "Milk", "--category", "Home"});
    }
    TempDir data;
    TempDir config;
    TempDir out;
};

TEST_F(PrintCli, PrintsTheChosenTasksToAPdf) {
    const std::string all = out.file("all.pdf");
    programOk({"print", all});
    ASSERT_TRUE(dw::test::looksLikePdf(all));
    EXPECT_EQ(dw::test::pdfPageCount(all), 1);
    EXPECT_EQ(dw::test::pdfIsLandscape(all), false);
    const std::string text = dw::test::pdfText(all);
    for (const char* expected : {"Tasks for ALL dates", "Budget draft", "Dentist", "To-do", "Milk"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;

    const std::string march = out.file("march.pdf");
    ok({"print", march, "--from", "2024-03-01", "--to", "2024-03-10", "--no-todo"});
    const std::string marchText = dw::test::pdfText(march);
    EXPECT_NE(marchText.find("Budget draft"), std::string::npos) << marchText;
    EXPECT_EQ(marchText.find("Dentist"), std::string::npos) << marchText;
    EXPECT_EQ(marchText.find("Milk"), std::string::npos) << marchText;
}

// Each layout prints the table the program prints with it, under that table's heading:
// the day view under its date caption, the to-do list, the completed tasks.
TEST_F(PrintCli, EachLayoutPrintsItsOwnTableUnderItsHeading) {
    ok({"done", "2024-03-05", "1"});
    const struct {
        std::vector<std::string> options;
        bool landscape;
        std::vector<const char*> shown;
        std::vector<const char*> absent;
    } cases[] = {
        {{"--layout", "1", "--date", "2024-03-05"},
         false,
         {"Tue 3/5/2024", "Budget draft", "Time", "Category"},
         {"Dentist", "Milk", "To-do Tasks", "Completed Tasks", "Tasks for ALL dates"}},
        {{"--layout", "2"},
         false,
         {"To-do Tasks", "Milk", "Home"},
         {"Dentist", "Budget draft", "Completed Tasks", "Tasks for ALL dates"}},
        {{"--layout", "4"},
         true,
         {"Completed Tasks", "Comp Date", "Orig Date", "Budget draft", "Tue 3/5/2024"},
         {"Dentist", "Milk", "To-do Tasks", "Tasks for ALL dates"}},
        {{"--layout", "3", "--done", "yes", "--no-todo"},
         false,
         {"Tasks for ALL dates", "Budget draft", "Dentist"},
         {"Milk", "To-do Tasks", "Completed Tasks"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options[1]);
        const std::string pdf = out.file("layout" + c.options[1] + ".pdf");
        std::vector<std::string> args{"print", pdf};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ok(args);
        EXPECT_EQ(dw::test::pdfIsLandscape(pdf), c.landscape);
        const std::string text = dw::test::pdfText(pdf);
        for (const char* expected : c.shown)
            EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
        for (const char* unexpected : c.absent)
            EXPECT_EQ(text.find(unexpected), std::string::npos) << unexpected << " in\n" << text;
    }
}

TEST_F(PrintCli, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> cases = {
        {"print"},
        {"print", out.file("a.pdf"), "--layout", "5"},
        {"print", out.file("a.pdf"), "--done", "maybe"},
        {"print", out.file("a.pdf"), "--from", "2024-03-10", "--to", "2024-03-01"},
        {"print", out.file("a.pdf"), "extra"},
        // The choice of tasks belongs to the print table; the other tables print whole.
        {"print", out.file("a.pdf"), "--layout", "2", "--done", "yes"},
        {"print", out.file("a.pdf"), "--layout", "4", "--from", "2024-03-01"},
        {"print", out.file("a.pdf"), "--layout", "1", "--no-todo"},
        {"print", out.file("a.pdf"), "--date", "2024-03-05"},
        {"print", out.file("a.pdf"), "--layout", "1", "--date", "2024-02-30"},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args.back() << "\n" << r.err;
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << args.back();
    }
    EXPECT_FALSE(std::filesystem::exists(out.file("a.pdf")));

    const Result r = run({"print", out.file("missing/folder/a.pdf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

} // namespace
