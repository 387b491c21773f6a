#include "core/calendar/task_filter.h"
#include "core/store/category_list.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

using test::TempDir;

TEST(TaskFilter, PredicateTable) {
    FilterState f;
    f.setCategories({"Work", "home", "", "école"});
    f.checkListed({"work"}); // Work checked, home and the empty category not
    struct Case {
        bool showNotDone, showDone;
        std::string done, category;
        bool passes;
    } cases[] = {
        {true, true, "No", "WORK", true},    // case of A-Z ignored
        {true, true, "No", "Home", false},   // unchecked, whatever its case
        {true, true, "No", "", false},       // the list holds an empty line
        {true, true, "No", "Garden", true},  // a category the list does not hold
        {true, false, "Yes", "Work", false}, // done items off
        {true, false, "No", "Work", true},
        {false, true, "No", "Garden", false},  // not-done items off
        {false, false, "Maybe", "Work", true}, // neither Yes nor No: its category decides
        {false, false, "Maybe", "home", false},
        {true, true, "No", "WÖRK", true},   // another category: passes
        {true, true, "No", "ÉCOLE", false}, // full case folding: the unchecked école
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.done + "/" + c.category);
        f.showNotDone = c.showNotDone;
        f.showDone = c.showDone;
        EXPECT_EQ(f.taskPassesFilter(c.done, c.category), c.passes);
    }
}

TEST(TaskFilter, ActiveWhenAnyBoxIsOffOrAnyLineUnchecked) {
    FilterState f;
    EXPECT_FALSE(f.filtersActive()); // an empty list with both boxes on
    f.setCategories({"Work", "Home"});
    f.setAllChecked(true);
    EXPECT_FALSE(f.filtersActive());
    f.showDone = false;
    EXPECT_TRUE(f.filtersActive());
    f.showDone = true;
    f.lines[1].checked = false;
    EXPECT_TRUE(f.filtersActive());
}

class FilterFiles : public ::testing::Test {
protected:
    FilterFiles() : settings(backend) {}
    void writeList(const char* name, const std::vector<std::string>& lines) {
        std::string error;
        ASSERT_TRUE(writeListFile(dir.file(name), lines, error)) << error;
    }
    TempDir dir;
    MapSettingsBackend backend;
    SettingsStore settings;
    FilterState filter;
};

TEST_F(FilterFiles, CreationTakesTheListFromXxxAndTheMarksFromYyy) {
    writeList("category.xxx", {"Work", "Home", "Garden"});
    writeList("category.yyy", {"HOME", "Unknown"});
    backend.setValue("Filter", "Done", "0");
    loadFilterState(filter, dir.path(), settings);
    EXPECT_EQ(filter.lines,
              (std::vector<FilterLine>{{"Work", false}, {"Home", true}, {"Garden", false}}));
    EXPECT_FALSE(filter.showDone);
    EXPECT_TRUE(filter.showNotDone);
}

TEST_F(FilterFiles, MissingFilesAtCreation) {
    // Without category.yyy every listed category is checked.
    writeList("category.xxx", {"Work", "Home"});
    loadFilterState(filter, dir.path(), settings);
    EXPECT_EQ(filter.checkedCategories(), (std::vector<std::string>{"Work", "Home"}));
    // Without either file the list is empty and everything passes.
    TempDir empty;
    FilterState none;
    loadFilterState(none, empty.path(), settings);
    EXPECT_TRUE(none.lines.empty());
    EXPECT_TRUE(none.taskPassesFilter("No", "Work"));
    // With only category.yyy the list stays empty.
    TempDir onlyYyy;
    std::string error;
    ASSERT_TRUE(writeListFile(onlyYyy.file("category.yyy"), {"Work"}, error));
    loadFilterState(none, onlyYyy.path(), settings);
    EXPECT_TRUE(none.lines.empty());
}

TEST_F(FilterFiles, SavedMarksComeBackAtOpeningOthersStay) {
    writeList("category.xxx", {"Work", "Home", "Garden"});
    loadFilterState(filter, dir.path(), settings);
    filter.setAllChecked(false);
    filter.lines[0].checked = true;
    ASSERT_TRUE(saveCheckedCategories(filter, dir.path()));
    EXPECT_EQ(dir.read("category.yyy"), "Work\r\n");
    // Unchecked without OK, then the window opens again: the saved line is checked again.
    filter.lines[0].checked = false;
    filter.lines[2].checked = true;
    recheckSavedCategories(filter, dir.path());
    EXPECT_EQ(filter.checkedCategories(), (std::vector<std::string>{"Work", "Garden"}));
    // "None" and OK save an empty file: no category is checked at the next start.
    filter.setAllChecked(false);
    ASSERT_TRUE(saveCheckedCategories(filter, dir.path()));
    FilterState next;
    loadFilterState(next, dir.path(), settings);
    EXPECT_TRUE(next.checkedCategories().empty());
}

TEST_F(FilterFiles, TheBoxesGoToTheSettings) {
    filter.showNotDone = false;
    ASSERT_TRUE(saveFilterBoxes(filter, settings));
    EXPECT_EQ(backend.value("Filter", "NotDone"), "0");
    EXPECT_EQ(backend.value("Filter", "Done"), "1");
}

} // namespace
} // namespace dw
