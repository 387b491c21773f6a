#pragma once

#include "core/common/status.h"
#include "core/text/text_collation.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dw {

// The category choices file in the data folder. A second list, "category.yyy", holds the
// categories the filter lets through.
inline constexpr const char* kCategoryFileName = "category.xxx";
std::string categoryListPath(const std::string& dataDir);

// List files: one entry a line. Reading takes CR LF, CR or LF as a line end; a last line
// end gives no extra entry, empty lines in the middle are entries. Writing ends every line,
// the last included, with CR LF.
std::vector<std::string> parseListText(std::string_view text);
std::string listFileText(const std::vector<std::string>& entries);
// A missing or unreadable file is an empty list. UTF-8, or Windows-1252 from older
// installations.
std::vector<std::string> readListFile(const std::string& path);
// Replaces the file atomically; on failure the old file stays and `error` says why.
bool writeListFile(const std::string& path, const std::vector<std::string>& entries,
                   std::string& error);
// The same, the failure worded "Could not save file PATH: " and the reason.
Status saveListFile(const std::string& path, const std::vector<std::string>& entries);

// Entries are compared without regard to letter case (full case folding) wherever the
// program asks whether one is already present, and sorted alphabetically without regard to
// letter case in the user's language (TextCollator); entries equal but for case keep one
// fixed order. The collator is the user's unless one is given.
bool sameEntry(std::string_view a, std::string_view b);
bool entryLess(std::string_view a, std::string_view b);
bool entryLess(std::string_view a, std::string_view b, const TextCollator& collator);
void sortEntries(std::vector<std::string>& entries);
void sortEntries(std::vector<std::string>& entries, const TextCollator& collator);
std::optional<std::size_t> findEntry(const std::vector<std::string>& entries,
                                     std::string_view text);

// The editor's choices when it opens: the file's entries sorted, or none when
// the file is missing or empty.
std::vector<std::string> loadCategoryChoices(const std::string& dataDir);
// The editor's OK: a text that is not empty and not yet a choice goes at the end of the
// choices and all choices, in their order, are saved. Fails only when the file could not be
// written, and the text is then not kept; `added` tells whether the choices changed.
Status addCategoryChoice(std::vector<std::string>& choices, const std::string& text,
                         const std::string& dataDir, bool* added = nullptr);
// Writes the choices, in their order, to the category file.
Status saveCategoryChoices(const std::vector<std::string>& choices, const std::string& dataDir);

} // namespace dw
