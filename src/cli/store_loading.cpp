#include "cli/store_loading.h"

namespace dw::cli {

std::optional<std::string> loadDatedTasks(TaskStore& store, const std::string& dataDir) {
    store.setDataDir(dataDir);
    try {
        store.loadStoreFile(false);
    } catch (const TableFileError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

} // namespace dw::cli
