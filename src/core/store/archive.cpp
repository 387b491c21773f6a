#include "core/store/archive.h"

#include "core/store/file_io.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace dw {

namespace {

// Where the file name starts: after the last folder separator. Both separators count, so
// a Windows path is cut the same way everywhere.
std::size_t fileNameStart(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

// Where the extension starts (the last full stop of the file name), or npos.
std::size_t extensionStart(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot < fileNameStart(name) ? std::string::npos : dot;
}

std::string withExtension(const std::string& name, const char* extension) {
    return name.substr(0, std::min(extensionStart(name), name.size())) + extension;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// One table of an archive, read into a copy of the table it is to replace (so the copy
// keeps its owner's sort settings, comparisons and file rules). Answers false when the file
// cannot be read or parsed, is empty or cut short, or has another column count than
// `columns`.
bool stageTable(const std::string& path, const CellTable& live, int columns, CellTable& staged) {
    std::string bytes;
    if (!readFileBytes(path, bytes))
        return false;
    try {
        staged = live;
        // The file's own column count is what is checked, not the table's minimum.
        staged.setMinColCount(1);
        // An archive part is written whole, never empty: an empty one would wipe its table.
        TableFileRules rules = staged.fileRules();
        rules.emptyFileIsBlank = false;
        staged.setFileRules(std::move(rules));
        staged.fromFileText(bytes, path);
        if (staged.colCount() != columns)
            return false;
        staged.setMinColCount(columns);
        return true;
    } catch (const TableFileError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool sortStore(CellTable& store) {
    try {
        store.removeDataRowsWithEmptyCell(StoreCol::Key);
        store.setSortColumn(StoreCol::Key);
        store.setSortDirection(SortDirection::Ascending);
        store.sortRows();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void save(const CellTable& table, const std::string& path, ArchiveResult& result) {
    std::string error;
    if (!table.trySaveTable(path, error))
        result.problems.push_back("Could not save file " + path + ": " + error);
}

} // namespace

ArchiveNames archiveNames(const std::string& mainName) {
    return {mainName, withExtension(mainName, ".AR2"), withExtension(mainName, ".AR3")};
}

std::string withArchiveExtension(const std::string& name) {
    return extensionStart(name) == std::string::npos ? name + ".arb" : name;
}

std::optional<std::string> archiveNameProblem(const std::string& mainName) {
    const std::size_t dot = extensionStart(mainName);
    if (dot == std::string::npos)
        return std::nullopt;
    const std::string_view extension = std::string_view(mainName).substr(dot);
    if (equalsIgnoringCase(extension, ".AR2") || equalsIgnoringCase(extension, ".AR3"))
        return "An archive's main file cannot end in .AR2 or .AR3: those names belong to its "
               "companion files. Choose the main file, " +
               withExtension(mainName, ".arb") + " for instance.";
    return std::nullopt;
}

ArchiveResult writeArchive(const std::string& mainName, const CellTable& gridStore,
                           const CellTable& gridNonday, const CellTable& completed) {
    ArchiveResult result;
    result.names = archiveNames(mainName);
    if (const auto problem = archiveNameProblem(mainName)) {
        result.problems.push_back(*problem);
        return result;
    }
    save(gridStore, result.names.main, result);
    save(gridNonday, result.names.todo, result);
    save(completed, result.names.completed, result);
    result.ok = result.problems.empty();
    return result;
}

std::string archiveStoredMessage(const ArchiveNames& names) {
    return "Archive stored in the files - " + names.main + ", " + names.todo + " and " +
           names.completed;
}

std::string archiveCorruptMessage(const std::string& path) {
    return "Could not load up the archive ... must be corrupt: " + path;
}

ArchiveResult restoreArchive(const std::string& mainName, TaskStore& store,
                             CompletedTasks& completed) {
    ArchiveResult result;
    result.names = archiveNames(mainName);
    const ArchiveNames& n = result.names;
    if (const auto problem = archiveNameProblem(mainName)) {
        result.problems.push_back(*problem);
        return result;
    }
    // A folder under one of the names is not missing: it fails to load below, by name.
    if (!pathExists(n.main) || !pathExists(n.todo) || !pathExists(n.completed)) {
        result.problems.push_back(kRestoreMissingFile);
        return result;
    }

    // Every file is tried, so that each failing one is named.
    CellTable stagedStore, stagedTodo, stagedCompleted;
    const bool storeLoaded =
        stageTable(n.main, store.gridStore(), 6, stagedStore) && sortStore(stagedStore);
    if (!storeLoaded)
        result.problems.push_back(archiveCorruptMessage(n.main));
    if (!stageTable(n.todo, store.gridNonday(), 3, stagedTodo))
        result.problems.push_back(archiveCorruptMessage(n.todo));
    if (!stageTable(n.completed, completed.table(), CompCol::Count, stagedCompleted))
        result.problems.push_back(archiveCorruptMessage(n.completed));
    if (!result.problems.empty())
        return result;

    store.gridStore() = std::move(stagedStore);
    store.gridNonday() = std::move(stagedTodo);
    completed.table() = std::move(stagedCompleted);
    setCompletedHeaders(completed.table());
    result.replaced = true;

    // Written at once: a crash right after a restore must not bring the old data back under
    // the restored view.
    save(store.gridStore(), store.storePath(), result);
    save(store.gridNonday(), store.todoPath(), result);
    save(completed.table(), completed.path(), result);
    result.ok = result.problems.empty();
    return result;
}

} // namespace dw
