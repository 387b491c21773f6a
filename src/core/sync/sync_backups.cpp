#include "core/sync/sync_backups.h"

#include "core/store/archive.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace dw {
namespace {

constexpr const char* kPrefix = "sync-";
constexpr const char* kExtension = ".arb";

// The running number of one of our archives' main files, or -1 for any other file.
long numberOf(const std::string& name) {
    const std::string prefix = kPrefix;
    if (name.size() < prefix.size() + 7 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 4, 4, kExtension) != 0)
        return -1;
    long number = 0;
    std::size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
        number = number * 10 + (name[i] - '0');
    return i == prefix.size() + 6 ? number : -1;
}

} // namespace

SyncBackup keepSyncBackup(const std::string& dataDir, const CellTable& gridStore,
                          const CellTable& gridNonday, const CellTable& completed, DateSerial now) {
    SyncBackup out;
    const fs::path folder = fs::path(dataDir) / kSyncBackupsFolder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        out.error = folder.string() + " could not be made a folder";
        return out;
    }
    // Numbered, not only dated: a clock set back or two syncs in one second still give
    // the newest archive the highest number.
    std::map<long, std::string> kept;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const long number = numberOf(name);
        if (number >= 0)
            kept[number] = entry.path().string();
    }
    if (ec) {
        out.error = folder.string() + " could not be read";
        return out;
    }
    const long next = kept.empty() ? 1 : kept.rbegin()->first + 1;
    const CivilDate d = decodeDate(now);
    const ClockTime t = decodeTime(now);
    char name[64];
    std::snprintf(name, sizeof name, "%s%06ld-%04d%02d%02d-%02d%02d%02d%s", kPrefix, next % 1000000,
                  d.year, d.month, d.day, t.hour, t.minute, t.second, kExtension);
    out.path = (folder / name).string();
    const ArchiveResult written = writeArchive(out.path, gridStore, gridNonday, completed);
    if (!written.ok) {
        out.error = written.problems.empty() ? out.path + " could not be written"
                                             : written.problems.front();
        return out;
    }
    kept[next] = out.path;
    while (static_cast<int>(kept.size()) > kSyncBackupsKept) {
        const ArchiveNames names = archiveNames(kept.begin()->second);
        for (const std::string& file : {names.main, names.todo, names.completed})
            fs::remove(file, ec);
        kept.erase(kept.begin());
    }
    out.ok = true;
    return out;
}

} // namespace dw
