#include "app/modal_helpers.h"
#include "app/output/print_dialog.h"
#include "app/shell/main_actions.h"
#include "app/store/archive_commands.h"
#include "app/task_window_fixture.h"
#include "core/output/print_selection.h"
#include "core/store/archive.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <filesystem>

namespace dw::test {
namespace {

class ArchiveCommandsTest : public TaskWindowTest {
protected:
    void SetUp() override {
        writeStore({{storeKey(kToday, 101), "9:00 AM", "Work", "Plan", "No", "No"},
                    {storeKey(kToday + 40, 101), "10:30 AM", "Home", "Later", "Yes", "No"}});
        writeTodo({{"Home", "Milk", "No"}});
        shown();
    }
    ArchiveCommands& commands() { return *window().findChild<ArchiveCommands*>(); }
    const MainActions& actions() { return window().actions(); }

    // An archive set in the archive folder holding these rows.
    void writeSet(const std::string& name, const std::vector<std::vector<std::string>>& dated,
                  const std::vector<std::vector<std::string>>& todo) {
        CellTable store = makeGridStore(state_->fs());
        CellTable nonday = makeGridNonday();
        setDataRows(store, dated);
        setDataRows(nonday, todo);
        ASSERT_TRUE(writeArchive(archives_.file(name), store, nonday, CompletedTasks().table()).ok);
    }
    void restoreFrom(const std::string& name) {
        prompts_.setNextAnswer(FakePrompts::Yes);
        prompts_.setNextFileName(archives_.file(name));
        actions().restore->trigger();
    }

    TempDir archives_;
};

TEST_F(ArchiveCommandsTest, CommandsSitInTheFileMenuAndArchiveOnTheToolbar) {
    auto* file = window().menuBar()->findChild<QMenu*>("fileMenu");
    ASSERT_NE(file, nullptr);
    for (QAction* a : {actions().archive, actions().restore, actions().clearAll})
        EXPECT_TRUE(file->actions().contains(a)) << a->text().toStdString();
    EXPECT_EQ(actions().archive->text(), "Archive current data");
    EXPECT_EQ(actions().restore->text(), "Restore old data");
    EXPECT_EQ(actions().clearAll->text(), "Clear all data");
    EXPECT_TRUE(window().mainToolBar()->actions().contains(actions().archive));
    EXPECT_EQ(actions().archive->toolTip(), "Archive");
}

TEST_F(ArchiveCommandsTest, ArchiveWritesTheSetAndNamesAllThreeFiles) {
    prompts_.setNextFileName(archives_.file("backup")); // typed without an extension
    actions().archive->trigger();
    const std::string main = archives_.file("backup.arb");
    EXPECT_EQ(prompts_.infos, std::vector<std::string>{"Archive stored in the files - " + main +
                                                       ", " + archives_.file("backup.AR2") +
                                                       " and " + archives_.file("backup.AR3")});
    EXPECT_EQ(test::fileRows(main), rowsOf(state_->store().gridStore()));
    EXPECT_EQ(test::fileRows(archives_.file("backup.AR2")), todoRows());
    EXPECT_TRUE(std::filesystem::exists(archives_.file("backup.AR3")));

    // ".arb" added to an existing file's name: the dialog never asked about that one.
    prompts_.setNextFileName(archives_.file("backup"));
    prompts_.setNextAnswer(FakePrompts::No);
    archives_.write("backup.arb", "kept");
    actions().archive->trigger();
    EXPECT_EQ(prompts_.questions.back(), main + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(archives_.read("backup.arb"), "kept");
}

TEST_F(ArchiveCommandsTest, ArchiveThatCannotBeWrittenSaysSoInsteadOfSuccess) {
    prompts_.setNextFileName(archives_.file("no/folder/backup.arb"));
    actions().archive->trigger();
    EXPECT_TRUE(prompts_.infos.empty());
    ASSERT_EQ(prompts_.errors.size(), 1u);
    EXPECT_NE(
        prompts_.errors[0].find("Could not save file " + archives_.file("no/folder/backup.arb")),
        std::string::npos);
}

TEST_F(ArchiveCommandsTest, RestoreAsksFirstThenReplacesShowsAndWritesEverything) {
    writeSet("old.arb", {{storeKey(kToday, 101), "8:00 AM", "", "Restored", "No", "No"}},
             {{"", "Old to-do", "No"}, {"Work", "Another", "No"}});
    const std::vector<std::string> dayBefore = dayRows();

    prompts_.setNextAnswer(FakePrompts::No);
    actions().restore->trigger();
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{kRestoreQuestion});
    EXPECT_EQ(dayRows(), dayBefore);

    restoreFrom("old.arb");
    EXPECT_TRUE(prompts_.errors.empty()) << prompts_.errors[0];
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"8:00 AM||Restored|No|No"}));
    EXPECT_EQ(todoRows(), (std::vector<std::string>{"|Old to-do|No", "Work|Another|No"}));
    EXPECT_EQ(window().gridNonday()->model()->rowCount(), 2);
    EXPECT_EQ(fileRows("grid.grd"), rowsOf(state_->store().gridStore()));
    EXPECT_EQ(fileRows("gridNon.grd"), todoRows());
    EXPECT_TRUE(std::filesystem::exists(dir_.file("gridComp.grd")));
}

TEST_F(ArchiveCommandsTest, RestoreFromAnIncompleteOrDamagedSetChangesNothing) {
    const auto corrupt = [this](const char* file) {
        return "Could not load up the archive ... must be corrupt: " + archives_.file(file);
    };
    const struct {
        const char* what;
        const char* file;
        const char* contents; // nullptr: the file is deleted
        std::string message;
        bool folder = false;
    } cases[] = {
        {"missing .AR3", "set.AR3", nullptr, kRestoreMissingFile},
        {"damaged .AR2", "set.AR2", "not a table\r\n", corrupt("set.AR2")},
        {"0-byte .arb", "set.arb", "", corrupt("set.arb")},
        {"0-byte .AR2", "set.AR2", "", corrupt("set.AR2")},
        {"0-byte .AR3", "set.AR3", "", corrupt("set.AR3")},
        {".arb cut in a row", "set.arb", "6,2\r\ncw 0,110\r\n0,1,365", corrupt("set.arb")},
        {".AR2 cut at a line end", "set.AR2", "3,4\r\ncw 0,62\r\ncw 1,503\r\ncw 2,52\r\n1,1,a\r\n",
         corrupt("set.AR2")},
        {"a folder as .AR3", "set.AR3", nullptr, corrupt("set.AR3"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeSet("set.arb", {{storeKey(kToday, 101), "8:00 AM", "", "New", "No", "No"}}, {});
        std::filesystem::remove(archives_.file(c.file));
        if (c.contents)
            archives_.write(c.file, c.contents);
        else if (c.folder)
            std::filesystem::create_directory(archives_.file(c.file));
        const std::vector<std::string> day = dayRows(), todo = todoRows();
        const std::string storeFile = dir_.read("grid.grd");
        prompts_.errors.clear();
        restoreFrom("set.arb");
        EXPECT_EQ(prompts_.errors, std::vector<std::string>{c.message});
        EXPECT_EQ(dayRows(), day);
        EXPECT_EQ(todoRows(), todo);
        EXPECT_EQ(dir_.read("grid.grd"), storeFile);
        std::filesystem::remove_all(archives_.file(c.file));
    }
}

TEST_F(ArchiveCommandsTest, ClearAllTakesThePrintWindowsChoicesAndRefreshes) {
    // The main window asks through the print window in its clearing mode; cancelled, it
    // clears nothing.
    const std::vector<std::string> storeBefore = rowsOf(state_->store().gridStore());
    PrintDialog::Mode shownMode = PrintDialog::Mode::Printing;
    whenModal<PrintDialog>([&](PrintDialog* dialog) {
        shownMode = dialog->mode();
        dialog->reject();
    });
    actions().clearAll->trigger();
    EXPECT_EQ(shownMode, PrintDialog::Mode::Clearing);
    EXPECT_EQ(rowsOf(state_->store().gridStore()), storeBefore);

    PrintSelection* asked = nullptr;
    commands().setAskClearSelection([&](PrintSelection& sel) {
        asked = &sel;
        sel.allDates = false;
        sel.fromDate = sel.toDate = kToday;
        sel.todo = false;
        return true;
    });
    actions().clearAll->trigger();
    EXPECT_EQ(asked, &state_->printSelection()); // the choices stay for the next print
    EXPECT_EQ(dayRows(), (std::vector<std::string>{"||||"}));
    EXPECT_EQ(fileRows("grid.grd"),
              (std::vector<std::string>{"|||||", storeKey(kToday + 40, 101) +
                                                     "|10:30 AM|Home|Later|Yes|No"}));
    EXPECT_EQ(todoRows(), (std::vector<std::string>{"Home|Milk|No"}));
    EXPECT_TRUE(prompts_.errors.empty());
}

TEST_F(ArchiveCommandsTest, ClearAllRefusesASelectionThatAdmitsNothing) {
    commands().setAskClearSelection([](PrintSelection& sel) {
        sel.done = sel.notDone = sel.todo = false;
        return true;
    });
    const std::vector<std::string> storeBefore = rowsOf(state_->store().gridStore());
    actions().clearAll->trigger();
    EXPECT_EQ(prompts_.errors,
              std::vector<std::string>{
                  "At least one of the DONE, NOT DONE or TO-DO options must be checked"});
    EXPECT_EQ(rowsOf(state_->store().gridStore()), storeBefore);
}

} // namespace
} // namespace dw::test
