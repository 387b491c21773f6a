#include "core/dates/date_serial.h"
#include "core/output/completed_tasks.h"
#include "core/store/category_list.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::FakePrompts;
using test::ScopedPrompts;
using test::TempDir;

// The refusals last for the run: each test starts and ends without any.
class SaveGuardTest : public ::testing::Test {
protected:
    SaveGuardTest() { clearSaveRefusals(); }
    ~SaveGuardTest() override { clearSaveRefusals(); }

    FakePrompts prompts;
    ScopedPrompts scope{prompts};
    TempDir dir;
    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{encodeDateTime(2000, 1, 1, 12, 0)};
};

TEST_F(SaveGuardTest, AReadOnlyDataFolderRefusesEverySaveInIt) {
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    store.gridNonday().setCell(1, 1, "To-do");
    ASSERT_TRUE(store.saveTodoFile());
    const std::string todo = dir.read("gridNon.grd");

    setReadOnlyDataFolder(dir.path() + "/."); // any spelling of the folder
    EXPECT_EQ(readOnlyDataFolder(), dir.path() + "/.");
    const std::string why =
        "the data folder " + dir.path() + "/. cannot be written, so Dayweaver runs read-only";
    CompletedTasks completed(dir.path());
    CompletedTask done;
    done.what = "x";
    CellTable holidays(4, 2);
    std::string error;
    // Each kind of file the program keeps in its data folder.
    EXPECT_FALSE(store.insertTask(36526, {"9:00 AM", "", "x", false, false}));
    EXPECT_FALSE(store.saveTodoFile());
    EXPECT_FALSE(completed.add(done, fs));
    EXPECT_FALSE(holidays.saveTable(joinPath(dir.path(), "holiday.grd")));
    EXPECT_FALSE(saveCategoryChoices({"Work"}, dir.path()));
    EXPECT_FALSE(saveListFile(joinPath(dir.path(), "words.dic"), {"Dayweaver"}));
    EXPECT_FALSE(writeFileAtomic(joinPath(dir.path(), "category.yyy"), "Work\r\n", error));
    EXPECT_EQ(error, why);

    ASSERT_EQ(prompts.errors.size(), 6u);
    EXPECT_EQ(prompts.errors[0], "Could not save file " + store.storePath() + ": " + why);
    for (const auto& e : prompts.errors)
        EXPECT_NE(e.find(why), std::string::npos) << e;
    EXPECT_EQ(dir.read("gridNon.grd"), todo);
    for (const char* name :
         {"grid.grd", "gridComp.grd", "holiday.grd", "category.xxx", "words.dic", "category.yyy"})
        EXPECT_FALSE(fs::exists(dir.file(name))) << name;
    // The task stays in memory, so nothing is lost from the window.
    EXPECT_EQ(store.gridStore().cell(StoreCol::What, 1), "x");

    // Files elsewhere (an archive, an export) are not the data folder's.
    TempDir elsewhere;
    EXPECT_TRUE(holidays.saveTable(elsewhere.file("holiday.grd")));

    setReadOnlyDataFolder("");
    EXPECT_TRUE(store.saveStoreFile());
}

TEST_F(SaveGuardTest, ADamagedFileNamesItsCopy) {
    dir.write("grid.grd", "garbage\r\n");
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    try {
        store.loadStoreFile();
        FAIL() << "no error";
    } catch (const TableFileError& e) {
        EXPECT_EQ(std::string(e.what()), "File contains no data or corrupt file " +
                                             store.storePath() + "\nA copy of it was kept as " +
                                             store.storePath() + ".damaged.");
    }
    // With the copy made, saving may go on.
    EXPECT_TRUE(store.insertTask(36526, {"9:00 AM", "", "x", false, false}));
}

TEST_F(SaveGuardTest, ADamagedFileWithoutACopyIsNeverSaved) {
    dir.write("grid.grd", "garbage\r\n");
    // A link to nowhere under the copy's name: the copy cannot be made there.
    fs::create_symlink(dir.file("missing/folder"), dir.file("grid.grd.damaged"));
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    try {
        store.loadStoreFile();
        FAIL() << "no error";
    } catch (const TableFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "File contains no data or corrupt file " + store.storePath() +
                      "\nNo copy of it could be kept aside, so Dayweaver will not save this "
                      "file until it is started again.");
    }
    EXPECT_FALSE(store.insertTask(36526, {"9:00 AM", "", "x", false, false}));
    EXPECT_FALSE(store.saveStoreFile());
    ASSERT_EQ(prompts.errors.size(), 2u);
    EXPECT_EQ(prompts.errors[0], "Could not save file " + store.storePath() +
                                     ": it could not be read and no copy of it could be kept "
                                     "aside");
    EXPECT_EQ(dir.read("grid.grd"), "garbage\r\n");
    // Only that file: the to-do list still saves.
    EXPECT_TRUE(store.saveTodoFile());
}

TEST_F(SaveGuardTest, AFolderUnderADataFileNameIsAnErrorNotAMissingFile) {
    fs::create_directory(dir.file("gridComp.grd"));
    CompletedTasks completed(dir.path());
    completed.load();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0].rfind("File " + completed.path() + " cannot be read: ", 0), 0u)
        << prompts.errors[0];
    EXPECT_NE(prompts.errors[0].find("will not save this file"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(completed.path()));
}

TEST_F(SaveGuardTest, AFolderInADataFilesPlaceIsReportedOnceAndNeverWrittenOver) {
    for (const char* name : {"grid.grd", "gridNon.grd"}) {
        SCOPED_TRACE(name);
        clearSaveRefusals();
        prompts.errors.clear();
        fs::remove_all(dir.file("grid.grd"));
        fs::remove_all(dir.file("gridNon.grd"));
        fs::create_directory(dir.file(name));
        TaskStore store(fs, clock);
        store.setDataDir(dir.path());
        std::string atStart;
        try {
            store.loadStoreFile();
            store.loadTodoFile();
        } catch (const TableFileError& e) {
            atStart = e.what();
        }
        EXPECT_EQ(atStart.rfind("File " + dir.file(name) + " cannot be read: ", 0), 0u) << atStart;
        EXPECT_NE(atStart.find("will not save this file"), std::string::npos) << atStart;

        // Tasks changed in both tables, then the window hides and closes: the file that
        // could be read is saved, the folder is left alone, and nothing more is said.
        store.gridStore().setCell(StoreCol::Key, 1, "36526.101");
        store.gridNonday().setCell(TodoCol::What, 1, "To-do");
        EXPECT_TRUE(store.saveChangedFiles(false));
        EXPECT_TRUE(store.saveChangedFiles(true));
        EXPECT_TRUE(prompts.errors.empty()) << prompts.errors.front();
        EXPECT_TRUE(fs::is_directory(dir.file(name)));
        for (const char* other : {"grid.grd", "gridNon.grd"}) {
            if (std::string(other) != name) {
                EXPECT_TRUE(fs::is_regular_file(dir.file(other))) << other;
            }
        }
    }
}

} // namespace
} // namespace dw
