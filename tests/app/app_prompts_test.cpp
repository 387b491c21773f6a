// The core answers its failures and shows nothing itself; the program shows what it is
// answered, each message in an error box of its own.

#include "app/shell/app_prompts.h"
#include "core/dates/clock.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(AppPrompts, AFailedSaveIsAnsweredAndShownOnlyByTheProgram) {
    test::TempDir dir;
    test::FakePrompts prompts;
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock;
    TaskStore store(fs, clock);
    store.setDataDir(dir.path());
    store.gridStore().setCell(StoreCol::Key, 1, "36526.101");
    store.gridNonday().setCell(TodoCol::What, 1, "Milk");
    // A folder in each file's place.
    std::filesystem::create_directory(dir.file("grid.grd"));
    std::filesystem::create_directory(dir.file("gridNon.grd"));

    const Status saved = store.saveChangedFiles(true);
    const std::vector<std::string> both = {
        "Could not save file " + store.storePath() + ": it is a folder",
        "Could not save file " + store.todoPath() + ": it is a folder"};
    EXPECT_EQ(saved.messages(), both);
    EXPECT_EQ(saved.message(), both.front());
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_TRUE(prompts.infos.empty());

    EXPECT_TRUE(showErrors(prompts, saved));
    EXPECT_EQ(prompts.errors, both);
    EXPECT_FALSE(showErrors(prompts, Status()));
    EXPECT_EQ(prompts.errors, both);
}

} // namespace
} // namespace dw
