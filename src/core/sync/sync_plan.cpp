#include "core/sync/sync_plan.h"

#include "core/commands/command_args.h"
#include "core/dates/date_serial.h"

#include <cstdio>

namespace dw {

std::string changeLine(const char* direction, const char* action, const SyncTask& task) {
    std::string line = std::string(direction) + '\t' + action + '\t';
    if (task.isTodo()) {
        line += "to-do\t";
    } else {
        // An all-day task has no time to show.
        char time[32] = "";
        if (!task.isAllDay())
            std::snprintf(time, sizeof time, "%02d:%02d", task.minute / 60, task.minute % 60);
        line += isoDate(task.date) + '\t' + time;
    }
    const auto cut = task.what.find("\r\n");
    return line + '\t' + task.what.substr(0, cut);
}

std::string sendableText(const std::string& text, int& dropped) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool lineBreak =
            c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
        if ((c < 0x20 && c != '\t' && !lineBreak) || c == 0x7f) {
            ++dropped;
            continue;
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::optional<MassDeletion> massDeletion(const SyncPlan& plan) {
    const int synced = plan.syncedBefore;
    auto tooMany = [synced](int count) {
        return (synced >= 2 && count >= synced) || (synced > 10 && 2 * count > synced);
    };
    if (tooMany(plan.deletesHere))
        return MassDeletion{true, plan.deletesHere, synced};
    if (tooMany(plan.deletesThere))
        return MassDeletion{false, plan.deletesThere, synced};
    return std::nullopt;
}

std::string massDeletionText(const MassDeletion& d) {
    const std::string count = std::to_string(d.count);
    const std::string tasks = d.count == 1 ? " task" : " tasks";
    const std::string where = d.here ? " here" : " on the server";
    const std::string gone =
        d.here ? "gone from the server (was the calendar emptied, or is it another one?)"
               : "gone from this computer (were the tasks cleared, or an older archive "
                 "restored?)";
    if (d.count >= d.synced)
        return "The sync would delete " + count + tasks + where +
               ": every task synced last time is " + gone + ".";
    return "The sync would delete " + count + tasks + where + ": " + count + " of the " +
           std::to_string(d.synced) + " tasks synced last time are " + gone + ".";
}

std::vector<SyncRecord> recordsAfterSync(const SyncPlan& plan, const std::vector<bool>& done) {
    std::vector<SyncRecord> records = plan.records;
    for (std::size_t i = 0; i < plan.remote.size(); ++i) {
        const auto& from =
            i < done.size() && done[i] ? plan.remote[i].recordsAfter : plan.remote[i].recordsBefore;
        records.insert(records.end(), from.begin(), from.end());
    }
    return records;
}

} // namespace dw
