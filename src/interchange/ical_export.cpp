#include "interchange/ical_export.h"

#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "interchange/ical_components.h"

#include <cstdlib>
#include <unordered_map>

namespace dw {

namespace {

using namespace ical;

class CalendarWriter {
public:
    explicit CalendarWriter(const IcalExportSettings& settings)
        : settings_(settings), calendar_(icalcomponent_new_vcalendar()) {
        icalcomponent* c = calendar_.get();
        icalcomponent_add_property(c, icalproperty_new_version("2.0"));
        icalcomponent_add_property(c, icalproperty_new_prodid("-//Dayweaver//Dayweaver//EN"));
        icalcomponent_add_property(c, icalproperty_new_calscale("GREGORIAN"));
    }

    void addTask(int date, const std::string& timeText, const std::string& category,
                 const std::string& what, bool done, bool alarm, const FormatSettings& fs) {
        const std::optional<int> minute = minuteOfTimeText(timeText, fs);
        add(TaskValues{false, date, minute, category, what, done, alarm},
            taskUid(date, minute, what));
        items_.push_back({CalendarItemKind::Task, date, minute, {}, summaryOfText(what)});
    }

    void addTodo(const std::string& category, const std::string& what, bool done) {
        add(TaskValues{true, 0, std::nullopt, category, what, done, false}, todoUid(what));
        items_.push_back({CalendarItemKind::Todo, 0, std::nullopt, {}, summaryOfText(what)});
    }

    void addHoliday(const std::string& name, const YearlyRule& rule) {
        icalcomponent* e = icalcomponent_new_vevent();
        addUidAndStamp(e, uniqueUid(holidayUid(name, rule)), settings_.stampUtcSeconds);
        const int first = firstDateOfRule(rule, 2000);
        icalcomponent_add_property(e, icalproperty_new_dtstart(dateValue(first)));
        icalcomponent_add_property(e, icalproperty_new_dtend(dateValue(first + 1)));
        icalcomponent_add_property(
            e, icalproperty_new_rrule(icalrecurrencetype_from_string(rruleTextOf(rule).c_str())));
        icalcomponent_add_property(e, icalproperty_new_summary(name.c_str()));
        icalcomponent_add_property(e, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        addX(e, kKindProperty, kHolidayKind);
        icalcomponent_add_component(calendar_.get(), e);
        items_.push_back({CalendarItemKind::Holiday, first, std::nullopt, rule, name});
    }

    CalendarExport finish(int skippedHolidays) {
        CalendarExport out;
        out.text = calendarText(calendar_.get());
        out.items = std::move(items_);
        out.skippedHolidays = skippedHolidays;
        return out;
    }

private:
    // UIDs are made unique within the file.
    std::string uniqueUid(std::string uid) {
        const int n = ++uidCount_[uid];
        if (n > 1)
            uid.insert(uid.find('@'), "-" + std::to_string(n));
        return uid;
    }

    void add(const TaskValues& task, const std::string& uid) {
        icalcomponent_add_component(calendar_.get(), newTaskComponent(task, uniqueUid(uid),
                                                                      settings_.stampUtcSeconds,
                                                                      settings_.alarmLeadMinutes));
    }

    const IcalExportSettings& settings_;
    ComponentPtr calendar_;
    std::vector<CalendarItem> items_;
    std::unordered_map<std::string, int> uidCount_;
};

} // namespace

CalendarExport exportCalendar(const CellTable& gridStore, const CellTable& gridNonday,
                              const CellTable& holidays, const IcalExportSettings& settings,
                              const FormatSettings& fs) {
    useLibraryQuietly();
    CalendarWriter writer(settings);
    for (int r = 1; r < gridStore.rowCount(); ++r) {
        if (gridStore.cell(StoreCol::Key, r).empty())
            continue;
        writer.addTask(keyDate(gridStore.cell(StoreCol::Key, r), fs),
                       gridStore.cell(StoreCol::Time, r), gridStore.cell(StoreCol::Category, r),
                       gridStore.cell(StoreCol::What, r), isYes(gridStore.cell(StoreCol::Done, r)),
                       isYes(gridStore.cell(StoreCol::Alarm, r)), fs);
    }
    for (int r = 1; r < gridNonday.rowCount(); ++r) {
        if (!isTodoRowOccupied(gridNonday, r))
            continue;
        writer.addTodo(gridNonday.cell(TodoCol::Category, r), gridNonday.cell(TodoCol::What, r),
                       isYes(gridNonday.cell(TodoCol::Done, r)));
    }
    int skipped = 0;
    for (int r = 1; r < holidays.rowCount(); ++r) {
        const std::string& name = holidays.cell(kHolidayName, r);
        const std::string& rule = holidays.cell(kHolidayRule, r);
        if (name.empty() && rule.empty())
            continue;
        if (const auto yearly = yearlyRuleOfHoliday(holidays.cell(kHolidayMonth, r), rule, fs))
            writer.addHoliday(name, *yearly);
        else
            ++skipped;
    }
    return writer.finish(skipped);
}

} // namespace dw
