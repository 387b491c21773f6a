#include "core/sync/sync_records.h"

#include "core/store/cell_table.h"
#include "core/store/helpers.h"

#include <charconv>
#include <filesystem>

namespace dw {
namespace {

enum Col {
    Collection,
    Uid,
    Href,
    ETag,
    Kind,
    RecurrenceId,
    Date,
    Minute,
    Category,
    What,
    Done,
    Alarm,
    ColCount
};
const char* const kHeaders[ColCount] = {"Collection", "UID",          "Href", "ETag",
                                        "Kind",       "RecurrenceId", "Date", "Minute",
                                        "Category",   "What",         "Done", "Alarm"};

int intOf(std::string_view text, int fallback) {
    int value = fallback;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && p == text.data() + text.size() ? value : fallback;
}

} // namespace

std::vector<SyncRecord> loadSyncRecords(const std::string& path) {
    std::vector<SyncRecord> records;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return records;
    CellTable table(ColCount, 1);
    table.loadTable(path);
    if (table.colCount() < ColCount)
        throw TableFileError("The sync table " + path + " is not one this program wrote.");
    for (int r = 1; r < table.rowCount(); ++r) {
        if (table.cellView(Href, r).empty())
            continue;
        SyncRecord rec;
        rec.collection = table.cell(Collection, r);
        rec.uid = table.cell(Uid, r);
        rec.href = table.cell(Href, r);
        rec.etag = table.cell(ETag, r);
        rec.kind = table.cellView(Kind, r) == "VTODO" ? ObjectKind::Todo : ObjectKind::Event;
        rec.recurrenceId = table.cell(RecurrenceId, r);
        rec.synced.date = intOf(table.cellView(Date, r), 0);
        rec.synced.minute = intOf(table.cellView(Minute, r), -1);
        rec.synced.category = table.cell(Category, r);
        rec.synced.what = table.cell(What, r);
        rec.synced.done = isYes(table.cellView(Done, r));
        rec.synced.alarm = isYes(table.cellView(Alarm, r));
        records.push_back(std::move(rec));
    }
    return records;
}

bool saveSyncRecords(const std::string& path, std::vector<SyncRecord>& records,
                     std::string& error) {
    CellTable table(ColCount, static_cast<int>(records.size()) + 1);
    for (int c = 0; c < ColCount; ++c)
        table.setCell(c, 0, kHeaders[c]);
    // The texts are lent to the table for the save and taken back after it: a whole
    // calendar's records are not held twice.
    int r = 1;
    for (SyncRecord& rec : records) {
        table.setCell(Collection, r, rec.collection);
        table.setCell(Uid, r, rec.uid);
        table.setCell(Href, r, rec.href);
        table.setCell(ETag, r, rec.etag);
        table.setCell(Kind, r, rec.kind == ObjectKind::Todo ? "VTODO" : "VEVENT");
        table.setCell(RecurrenceId, r, rec.recurrenceId);
        table.setCell(Date, r, std::to_string(rec.synced.date));
        table.setCell(Minute, r, std::to_string(rec.synced.minute));
        table.setCell(Category, r, std::move(rec.synced.category));
        table.setCell(What, r, std::move(rec.synced.what));
        table.setCell(Done, r, yesNo(rec.synced.done));
        table.setCell(Alarm, r, yesNo(rec.synced.alarm));
        ++r;
    }
    const bool saved = table.trySaveTable(path, error);
    r = 1;
    for (SyncRecord& rec : records) {
        CellTable::Row& row = table.row(r++);
        rec.synced.category = std::move(row[Category]);
        rec.synced.what = std::move(row[What]);
    }
    return saved;
}

} // namespace dw
