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
    EXPECT_FALSE(SaveCombo({"Work"}, dir.path()));
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

} // namespace
} // namespace dw
