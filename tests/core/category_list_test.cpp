#include "core/store/category_list.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

using test::TempDir;
using Entries = std::vector<std::string>;

TEST(ListFile, ReadsEveryLineEndAndWritesCrLf) {
    struct Case {
        const char* bytes;
        Entries entries;
    } cases[] = {
        {"", {}},
        {"Work\r\nHome\r\n", {"Work", "Home"}},
        {"Work\nHome", {"Work", "Home"}},
        {"Work\rHome\r", {"Work", "Home"}},
        {"Work\r\n\r\nHome\r\n", {"Work", "", "Home"}},
        {"\r\n", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseListText(c.bytes), c.entries) << c.bytes;
    EXPECT_EQ(listFileText({"Work", "", "Home"}), "Work\r\n\r\nHome\r\n");
}

TEST(ListFile, OldWindows1252FileReadsAsUtf8) {
    TempDir dir;
    dir.write("category.xxx", "Caf\xe9\r\nB\xfcro\r\n");
    EXPECT_EQ(readListFile(categoryListPath(dir.path())), (Entries{"Café", "Büro"}));
    EXPECT_EQ(categoryListPath(dir.path()), dir.file("category.xxx"));
}

TEST(CategoryChoices, FillComboSortsAlphabeticallyWithoutRegardToCase) {
    TempDir dir;
    EXPECT_TRUE(loadCategoryChoices(dir.path()).empty()) << "missing file";
    dir.write("category.xxx", "");
    EXPECT_TRUE(loadCategoryChoices(dir.path()).empty()) << "empty file";
    dir.write("category.xxx", "work\r\nGarden\r\nÉtude\r\napple\r\nZoo\r\n");
    // An accented letter sorts with its base letter, not after every ASCII one.
    EXPECT_EQ(loadCategoryChoices(dir.path()),
              (Entries{"apple", "Étude", "Garden", "work", "Zoo"}));
}

TEST(CategoryChoices, UpdateComboBoxAppendsOnlyNewNonEmptyTexts) {
    TempDir dir;
    Entries choices{"Home", "Work"};
    bool added = false;
    ASSERT_TRUE(addCategoryChoice(choices, "Garden", dir.path(), &added));
    EXPECT_TRUE(added);
    EXPECT_EQ(dir.read("category.xxx"), "Home\r\nWork\r\nGarden\r\n");

    for (const char* again : {"garden", "WORK", ""}) {
        ASSERT_TRUE(addCategoryChoice(choices, again, dir.path(), &added));
        EXPECT_FALSE(added) << again;
    }
    EXPECT_EQ(dir.read("category.xxx"), "Home\r\nWork\r\nGarden\r\n");
    // The next open shows the appended entry in its sorted place.
    EXPECT_EQ(loadCategoryChoices(dir.path()), (Entries{"Garden", "Home", "Work"}));
}

TEST(CategoryChoices, FailedSaveIsAnsweredAndForgotten) {
    TempDir dir;
    const std::string missing = dir.file("no-such-folder");
    Entries choices{"Home"};
    bool added = true;
    const Status saved = addCategoryChoice(choices, "Garden", missing, &added);
    EXPECT_FALSE(added);
    ASSERT_EQ(saved.messages().size(), 1u);
    EXPECT_EQ(saved.message().rfind("Could not save file " + categoryListPath(missing) + ": ", 0),
              0u)
        << saved.message();
    // Not kept as a choice, so the next OK tries again rather than skipping the file.
    EXPECT_EQ(choices, Entries{"Home"});
}

TEST(CategoryChoices, EntriesMatchWithoutRegardToCase) {
    const Entries e{"Garden", "Straße", "ÉCOLE"};
    EXPECT_EQ(findEntry(e, "GARDEN"), 0u);
    EXPECT_EQ(findEntry(e, "école"), 2u);
    EXPECT_FALSE(findEntry(e, "Gard"));
    EXPECT_TRUE(entryLess("apple", "Banana"));
    EXPECT_FALSE(entryLess("Banana", "apple"));
}

} // namespace
} // namespace dw
