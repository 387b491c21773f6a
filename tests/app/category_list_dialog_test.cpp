#include "app/modal_helpers.h"
#include "app/store/category_list_dialog.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::FakePrompts;
using test::TempDir;
using test::whenModal;
using Entries = std::vector<std::string>;

class ListBoxTest : public ::testing::Test {
protected:
    ListBoxTest() { dlg.setEntries({"work", "Garden", "home", "Zoo"}); }
    FakePrompts prompts;
    CategoryListDialog dlg{prompts};
};

TEST_F(ListBoxTest, EntriesStaySortedWithoutRegardToCase) {
    EXPECT_EQ(dlg.entries(), (Entries{"Garden", "home", "work", "Zoo"}));
    EXPECT_FALSE(dlg.currentEntry()) << "nothing chosen yet";
    EXPECT_EQ(dlg.addButton()->text(), "&Add");
    EXPECT_EQ(dlg.deleteButton()->text(), "&Delete");
    EXPECT_EQ(dlg.clearButton()->text(), "&Clear");
    EXPECT_TRUE(dlg.okButton()->isDefault());
}

TEST_F(ListBoxTest, AddTakesItsSortedPlaceUnlessAlreadyThere) {
    struct Case {
        const char* answer; // nullptr: the input box is cancelled
        Entries after;
    } cases[] = {
        {"apple", {"apple", "Garden", "home", "work", "Zoo"}},
        {"GARDEN", {"apple", "Garden", "home", "work", "Zoo"}},
        {"", {"apple", "Garden", "home", "work", "Zoo"}},
        {nullptr, {"apple", "Garden", "home", "work", "Zoo"}},
        {"Kitchen\r\nsink", {"apple", "Garden", "home", "Kitchen sink", "work", "Zoo"}},
        // An accented letter sorts with its base letter; full case folding finds it again.
        {"École", {"apple", "École", "Garden", "home", "Kitchen sink", "work", "Zoo"}},
        {"ÉCOLE", {"apple", "École", "Garden", "home", "Kitchen sink", "work", "Zoo"}},
    };
    for (const auto& c : cases) {
        if (c.answer)
            prompts.setNextInput(c.answer);
        dlg.addButton()->click();
        EXPECT_EQ(dlg.entries(), c.after) << (c.answer ? c.answer : "cancelled");
    }
    ASSERT_TRUE(dlg.currentEntry());
    EXPECT_EQ(*dlg.currentEntry(), "École") << "the last entry added";
    EXPECT_EQ(prompts.questions.front(), "New Quick Pick");
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(ListBoxTest, DeleteRemovesEverySelectedEntryOrSaysToSelect) {
    dlg.removeEntry();
    EXPECT_EQ(prompts.errors, std::vector<std::string>{"Select one or more items"});
    EXPECT_EQ(dlg.entries().size(), 4u);

    for (int row : {0, 2, 3})
        dlg.entryList()->item(row)->setSelected(true);
    dlg.deleteButton()->click();
    EXPECT_EQ(dlg.entries(), Entries{"home"});
    EXPECT_FALSE(dlg.currentEntry()) << "nothing left chosen";
}

TEST_F(ListBoxTest, ClearAsksFirst) {
    prompts.setNextAnswer(FakePrompts::No);
    dlg.clearButton()->click();
    EXPECT_EQ(dlg.entries().size(), 4u);
    prompts.setNextAnswer(FakePrompts::Yes);
    dlg.clearButton()->click();
    EXPECT_TRUE(dlg.entries().empty());
    EXPECT_EQ(prompts.questions,
              (std::vector<std::string>{"Really clear out list?", "Really clear out list?"}));
}

TEST_F(ListBoxTest, SelectEntryIgnoresCaseAndAFocusAloneChoosesNothing) {
    dlg.selectEntry("GARDEN");
    ASSERT_TRUE(dlg.currentEntry());
    EXPECT_EQ(*dlg.currentEntry(), "Garden");
    dlg.selectEntry("Nowhere");
    EXPECT_FALSE(dlg.currentEntry());
    dlg.show();
    dlg.entryList()->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(dlg.currentEntry());
}

TEST_F(ListBoxTest, DoubleClickActsAsOk) {
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QListWidgetItem* item = dlg.entryList()->item(1);
    const QPoint at = dlg.entryList()->visualItemRect(item).center();
    QTest::mouseClick(dlg.entryList()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(dlg.entryList()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(CategoriesCommand, WritesTheSortedEntriesOnOkOnly) {
    TempDir dir;
    FakePrompts prompts;
    dir.write("category.xxx", "work\r\nGarden\r\n");

    whenModal<CategoryListDialog>([](CategoryListDialog* d) { d->cancelButton()->click(); });
    EXPECT_FALSE(editCategoryFile(nullptr, prompts, dir.path()));
    EXPECT_EQ(dir.read("category.xxx"), "work\r\nGarden\r\n");

    prompts.setNextInput("home");
    whenModal<CategoryListDialog>([](CategoryListDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Edit Category Choices");
        d->addButton()->click();
        d->okButton()->click();
    });
    EXPECT_TRUE(editCategoryFile(nullptr, prompts, dir.path()));
    EXPECT_EQ(dir.read("category.xxx"), "Garden\r\nhome\r\nwork\r\n");

    // A missing file is an empty list, not an error.
    TempDir empty;
    whenModal<CategoryListDialog>([](CategoryListDialog* d) {
        EXPECT_TRUE(d->entries().empty());
        d->okButton()->click();
    });
    EXPECT_TRUE(editCategoryFile(nullptr, prompts, empty.path()));
    EXPECT_EQ(empty.read("category.xxx"), "");
    EXPECT_TRUE(prompts.errors.empty());
}

} // namespace
} // namespace dw
