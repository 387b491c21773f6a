#pragma once

#include "core/common/status.h"
#include "core/settings/settings_store.h"

#include <optional>
#include <string>
#include <vector>

namespace dw {

// The file of the categories the filter lets through, beside category.xxx.
inline constexpr const char* kFilterCategoryFileName = "category.yyy";
std::string filterCategoryPath(const std::string& dataDir);

// One line of the filter's category list: the category and whether its tasks are shown.
struct FilterLine {
    std::string category;
    bool checked = false;
    friend bool operator==(const FilterLine&, const FilterLine&) = default;
};

// The task filter for the whole run: the category list with its check marks and the two
// done-state boxes. Every place that shows, counts, marks, searches, summarises, alarms or
// exports dated tasks asks taskPassesFilter; to-do tasks are never filtered. The filter
// window edits this object and the change takes effect at once.
class FilterState {
public:
    std::vector<FilterLine> lines;
    bool showNotDone = true;
    bool showDone = true;

    // Done texts are compared exactly ("Yes", "No"); categories without regard to the case
    // of A to Z. A category the list does not hold passes.
    bool taskPassesFilter(const std::string& done, const std::string& category) const;
    // True when any box is off or any line unchecked.
    bool filtersActive() const;

    // The list's lines become `categories`, all unchecked, then each of `checked` checks
    // the first line equal to it without regard to case (texts that match nothing are
    // ignored).
    void setCategories(const std::vector<std::string>& categories);
    void checkListed(const std::vector<std::string>& checked);
    void setAllChecked(bool checked);
    // The checked lines' categories, in list order.
    std::vector<std::string> checkedCategories() const;

private:
    int findLine(const std::string& category) const;
};

// Creation at start-up: the list from category.xxx, the marks from category.yyy (or, when
// it is missing, every line checked), the boxes from the settings. Without either file the
// list is empty and every category passes.
void loadFilterState(FilterState& filter, const std::string& dataDir,
                     const SettingsStore& settings);
// The window's opening: the lines saved in category.yyy are checked again (all lines when
// the file is missing); other marks stay as they are.
void recheckSavedCategories(FilterState& filter, const std::string& dataDir);
// OK: the checked categories go to category.yyy.
Status saveCheckedCategories(const FilterState& filter, const std::string& dataDir);
// Closing the window by any way: the two boxes go to the settings.
bool saveFilterBoxes(const FilterState& filter, SettingsStore& settings);

// The saved checked list: category.yyy's lines, or nothing when the file is missing.
std::optional<std::vector<std::string>> readCheckedCategories(const std::string& dataDir);

} // namespace dw
