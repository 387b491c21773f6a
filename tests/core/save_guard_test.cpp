#include "core/dates/date_serial.h"
#include "core/output/completed_tasks.h"
#include "core/store/category_list.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/save_guard.h"
#include "core/store/task_store.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The refusals last for the run: each test starts and ends without any.
class SaveGuardTest : public ::testing::Test {
protected:
    SaveGuardTest() { clearSaveRefusals(); }
    ~SaveGuardTest() override { clearSaveRefusals(); }

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
    const std::vector<Status> refused = {
        store.insertTask(36526, {"9:00 AM", "", "x", false, false}),
        store.saveTodoFile(),
        completed.add(done, fs),
        holidays.saveTable(joinPath(dir.path(), "holiday.grd")),
        saveCategoryChoices({"Work"}, dir.path()),
        saveListFile(joinPath(dir.path(), "words.dic"), {"Dayweaver"}),
    };
    EXPECT_FALSE(writeFileAtomic(joinPath(dir.path(), "category.yyy"), "Work\r\n", error));
    EXPECT_EQ(error, why);

    EXPECT_EQ(refused[0].messages(),
              std::vector<std::string>{"Could not save file " + store.storePath() + ": " + why});
    for (const Status& s : refused) {
        ASSERT_EQ(s.messages().size(), 1u);
        EXPECT_NE(s.message().find(why), std::string::npos) << s.message();
    }
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
    const Status inserted = store.insertTask(36526, {"9:00 AM", "", "x", false, false});
    EXPECT_EQ(inserted.messages(),
              std::vector<std::string>{"Could not save file " + store.storePath() +
                                       ": it could not be read and no copy of it could be kept "
                                       "aside"});
    EXPECT_EQ(store.saveStoreFile().messages(), inserted.messages());
    EXPECT_EQ(dir.read("grid.grd"), "garbage\r\n");
    // Only that file: the to-do list still saves.
    EXPECT_TRUE(store.saveTodoFile());
}

TEST_F(SaveGuardTest, AFolderUnderADataFileNameIsAnErrorNotAMissingFile) {
    fs::create_directory(dir.file("gridComp.grd"));
    CompletedTasks completed(dir.path());
    const Status loaded = completed.load();
    ASSERT_EQ(loaded.messages().size(), 1u);
    EXPECT_EQ(loaded.message().rfind("File " + completed.path() + " cannot be read: ", 0), 0u)
        << loaded.message();
    EXPECT_NE(loaded.message().find("will not save this file"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(completed.path()));
}

TEST_F(SaveGuardTest, AFolderInADataFilesPlaceIsReportedOnceAndNeverWrittenOver) {
    for (const char* name : {"grid.grd", "gridNon.grd"}) {
        SCOPED_TRACE(name);
        clearSaveRefusals();
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
        EXPECT_EQ(store.saveChangedFiles(false).messages(), std::vector<std::string>{});
        EXPECT_EQ(store.saveChangedFiles(true).messages(), std::vector<std::string>{});
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
