#pragma once

#include "core/store/task_store.h"

#include <optional>
#include <string>

namespace dw::cli {

// Loads grid.grd of the data folder into the store, keeping no damaged copy (the command
// line never saves after a failed load). Answers why it could not, or nothing.
std::optional<std::string> loadDatedTasks(TaskStore& store, const std::string& dataDir);

} // namespace dw::cli
