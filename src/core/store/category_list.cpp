#include "core/store/category_list.h"

#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"
#include "core/text/lower_text.h"

#include <algorithm>

namespace dw {

std::string categoryListPath(const std::string& dataDir) {
    return joinPath(dataDir, kCategoryFileName);
}

std::vector<std::string> parseListText(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        entries.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        entries.emplace_back(text.substr(start));
    return entries;
}

std::string listFileText(const std::vector<std::string>& entries) {
    std::string out;
    for (const auto& e : entries) {
        out += e;
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> readListFile(const std::string& path) {
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return {};
    return parseListText(decodeFileBytes(std::move(bytes)));
}

bool writeListFile(const std::string& path, const std::vector<std::string>& entries,
                   std::string& error) {
    return writeFileAtomic(path, listFileText(entries), error);
}

Status saveListFile(const std::string& path, const std::vector<std::string>& entries) {
    std::string error;
    if (writeListFile(path, entries, error))
        return {};
    return Status::failure("Could not save file " + path + ": " + error);
}

bool sameEntry(std::string_view a, std::string_view b) {
    return foldCase(a) == foldCase(b);
}

bool entryLess(std::string_view a, std::string_view b) {
    return entryLess(a, b, userCollator());
}

bool entryLess(std::string_view a, std::string_view b, const TextCollator& collator) {
    if (const int order = collator.compare(a, b); order != 0)
        return order < 0;
    // Entries equal but for case still get one fixed order.
    return a < b;
}

void sortEntries(std::vector<std::string>& entries) {
    sortEntries(entries, userCollator());
}

void sortEntries(std::vector<std::string>& entries, const TextCollator& collator) {
    std::stable_sort(entries.begin(), entries.end(),
                     [&collator](const std::string& a, const std::string& b) {
                         return entryLess(a, b, collator);
                     });
}

std::optional<std::size_t> findEntry(const std::vector<std::string>& entries,
                                     std::string_view text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameEntry(entries[i], text))
            return i;
    return std::nullopt;
}

std::vector<std::string> loadCategoryChoices(const std::string& dataDir) {
    const std::string path = categoryListPath(dataDir);
    if (fileMissingOrEmpty(path))
        return {};
    auto entries = readListFile(path);
    sortEntries(entries);
    return entries;
}

Status addCategoryChoice(std::vector<std::string>& choices, const std::string& text,
                         const std::string& dataDir, bool* added) {
    if (added)
        *added = false;
    if (text.empty() || findEntry(choices, text))
        return {};
    choices.push_back(text);
    Status saved = saveCategoryChoices(choices, dataDir);
    if (!saved) {
        // Not kept in memory either, so that the next OK tries the file again.
        choices.pop_back();
        return saved;
    }
    if (added)
        *added = true;
    return saved;
}

Status saveCategoryChoices(const std::vector<std::string>& choices, const std::string& dataDir) {
    return saveListFile(categoryListPath(dataDir), choices);
}

} // namespace dw
