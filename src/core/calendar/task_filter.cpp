#include "core/calendar/task_filter.h"

#include "core/settings/option_keys.h"
#include "core/store/category_list.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/text/lower_text.h"

#include <algorithm>

namespace dw {

std::string filterCategoryPath(const std::string& dataDir) {
    return joinPath(dataDir, kFilterCategoryFileName);
}

bool FilterState::taskPassesFilter(const std::string& done, const std::string& category) const {
    if (!showDone && done == "Yes")
        return false;
    if (!showNotDone && done == "No")
        return false;
    const int i = findLine(category);
    return i < 0 || lines[static_cast<size_t>(i)].checked;
}

bool FilterState::filtersActive() const {
    return !showDone || !showNotDone ||
           std::any_of(lines.begin(), lines.end(), [](const FilterLine& l) { return !l.checked; });
}

int FilterState::findLine(const std::string& category) const {
    // Full case folding, as every comparison of the user's texts without regard to case.
    const std::string wanted = foldCase(category);
    for (size_t i = 0; i < lines.size(); ++i)
        if (foldCase(lines[i].category) == wanted)
            return static_cast<int>(i);
    return -1;
}

void FilterState::setCategories(const std::vector<std::string>& categories) {
    lines.clear();
    for (const std::string& c : categories)
        lines.push_back({c, false});
}

void FilterState::checkListed(const std::vector<std::string>& checked) {
    for (const std::string& c : checked) {
        const int i = findLine(c);
        if (i >= 0)
            lines[static_cast<size_t>(i)].checked = true;
    }
}

void FilterState::setAllChecked(bool checked) {
    for (FilterLine& l : lines)
        l.checked = checked;
}

std::vector<std::string> FilterState::checkedCategories() const {
    std::vector<std::string> out;
    for (const FilterLine& l : lines)
        if (l.checked)
            out.push_back(l.category);
    return out;
}

std::optional<std::vector<std::string>> readCheckedCategories(const std::string& dataDir) {
    const std::string path = filterCategoryPath(dataDir);
    if (!fileExists(path))
        return std::nullopt;
    return readListFile(path);
}

void loadFilterState(FilterState& filter, const std::string& dataDir,
                     const SettingsStore& settings) {
    const std::vector<std::string> categories = readListFile(categoryListPath(dataDir));
    filter.setCategories(categories);
    filter.checkListed(readCheckedCategories(dataDir).value_or(categories));
    filter.showNotDone = readKeyFlag(settings, optionKey("Filter", "NotDone"));
    filter.showDone = readKeyFlag(settings, optionKey("Filter", "Done"));
}

void recheckSavedCategories(FilterState& filter, const std::string& dataDir) {
    if (auto saved = readCheckedCategories(dataDir)) {
        filter.checkListed(*saved);
        return;
    }
    filter.setAllChecked(true);
}

Status saveCheckedCategories(const FilterState& filter, const std::string& dataDir) {
    return saveListFile(filterCategoryPath(dataDir), filter.checkedCategories());
}

bool saveFilterBoxes(const FilterState& filter, SettingsStore& settings) {
    const bool a = settings.writeBool("Filter", "NotDone", filter.showNotDone);
    const bool b = settings.writeBool("Filter", "Done", filter.showDone);
    return a && b;
}

} // namespace dw
