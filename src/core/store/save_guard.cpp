#include "core/store/save_guard.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace dw {

namespace fs = std::filesystem;

namespace {

struct Refusals {
    std::mutex mutex;
    std::string folderAsGiven;
    fs::path folder;
    std::map<fs::path, std::string> files;
};

Refusals& refusals() {
    static Refusals r;
    return r;
}

// One spelling for every way of naming the same place: absolute, without "." and "..",
// and with the links of the folders that exist resolved.
fs::path samePlace(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        p = fs::absolute(path, ec).lexically_normal();
    return p;
}

} // namespace

void setReadOnlyDataFolder(const std::string& dir) {
    Refusals& r = refusals();
    const std::lock_guard lock(r.mutex);
    r.folderAsGiven = dir;
    r.folder = dir.empty() ? fs::path() : samePlace(dir);
}

std::string readOnlyDataFolder() {
    Refusals& r = refusals();
    const std::lock_guard lock(r.mutex);
    return r.folderAsGiven;
}

std::string readOnlyDataFolderNotice(const std::string& dir) {
    return "The data folder " + dir +
           " cannot be written. Dayweaver runs read-only: you can look at your tasks, but "
           "changes cannot be saved.";
}

void refuseSavingFile(const std::string& path, std::string reason) {
    Refusals& r = refusals();
    const std::lock_guard lock(r.mutex);
    r.files[samePlace(path)] = std::move(reason);
}

std::optional<std::string> saveRefusal(const std::string& path) {
    Refusals& r = refusals();
    const std::lock_guard lock(r.mutex);
    if (r.folder.empty() && r.files.empty())
        return std::nullopt;
    // The file itself may be a link elsewhere; it is the folder it is named in that counts.
    std::error_code ec;
    const fs::path named = fs::absolute(path, ec).lexically_normal();
    if (!r.folder.empty() && samePlace(named.parent_path().string()) == r.folder)
        return "the data folder " + r.folderAsGiven +
               " cannot be written, so Dayweaver runs "
               "read-only";
    if (const auto it = r.files.find(samePlace(path)); it != r.files.end())
        return it->second;
    return std::nullopt;
}

void clearSaveRefusals() {
    Refusals& r = refusals();
    const std::lock_guard lock(r.mutex);
    r.folderAsGiven.clear();
    r.folder.clear();
    r.files.clear();
}

} // namespace dw
