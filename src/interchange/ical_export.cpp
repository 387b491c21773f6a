#include "interchange/ical_export.h"

#include "core/dates/date_serial.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "interchange/ical_library.h"

#include <cstdlib>
#include <unordered_map>

namespace dw {

namespace {

using namespace ical;

icaltimetype dateValue(int date) {
    const CivilDate d = decodeDate(date);
    icaltimetype t = icaltime_null_date();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    return t;
}

icaltimetype floatingDateTime(int date, int minuteOfDay) {
    const CivilDate d = decodeDate(date);
    icaltimetype t = icaltime_null_time();
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    t.hour = minuteOfDay / 60;
    t.minute = minuteOfDay % 60;
    return t;
}

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
        icalcomponent* e = begin(icalcomponent_new_vevent(), taskUid(date, minute, what));
        if (minute) {
            icalcomponent_add_property(e,
                                       icalproperty_new_dtstart(floatingDateTime(date, *minute)));
            icalcomponent_add_property(
                e, icalproperty_new_duration(icaldurationtype_from_int(kEventMinutes * 60)));
        } else {
            icalcomponent_add_property(e, icalproperty_new_dtstart(dateValue(date)));
            icalcomponent_add_property(e, icalproperty_new_dtend(dateValue(date + 1)));
        }
        addTexts(e, what, category);
        icalcomponent_add_property(e, icalproperty_new_status(ICAL_STATUS_CONFIRMED));
        if (done)
            addX(e, kDoneProperty, "YES");
        if (alarm) {
            icalcomponent* a = icalcomponent_new_valarm();
            icalcomponent_add_property(a, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icalcomponent_add_property(a,
                                       icalproperty_new_description(summaryOfText(what).c_str()));
            icalcomponent_add_property(a, icalproperty_new_trigger(icaltriggertype_from_int(
                                              -settings_.alarmLeadMinutes * 60)));
            icalcomponent_add_component(e, a);
        }
        icalcomponent_add_component(calendar_.get(), e);
        items_.push_back({CalendarItemKind::Task, date, minute, {}, summaryOfText(what)});
    }

    void addTodo(const std::string& category, const std::string& what, bool done) {
        icalcomponent* t = begin(icalcomponent_new_vtodo(), todoUid(what));
        addTexts(t, what, category);
        icalcomponent_add_property(
            t, icalproperty_new_status(done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
        icalcomponent_add_component(calendar_.get(), t);
        items_.push_back({CalendarItemKind::Todo, 0, std::nullopt, {}, summaryOfText(what)});
    }

    void addHoliday(const std::string& name, const YearlyRule& rule) {
        icalcomponent* e = begin(icalcomponent_new_vevent(), holidayUid(name, rule));
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
        char* text = icalcomponent_as_ical_string_r(calendar_.get());
        out.text = text ? text : "";
        std::free(text);
        out.items = std::move(items_);
        out.skippedHolidays = skippedHolidays;
        return out;
    }

private:
    // A new object with its UID (made unique within the file) and the stamp.
    icalcomponent* begin(icalcomponent* c, std::string uid) {
        const int n = ++uidCount_[uid];
        if (n > 1)
            uid.insert(uid.find('@'), "-" + std::to_string(n));
        icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(c, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(
                                          static_cast<time_t>(settings_.stampUtcSeconds), 0,
                                          icaltimezone_get_utc_timezone())));
        return c;
    }

    static void addTexts(icalcomponent* c, const std::string& what, const std::string& category) {
        icalcomponent_add_property(c, icalproperty_new_summary(summaryOfText(what).c_str()));
        icalcomponent_add_property(c,
                                   icalproperty_new_description(descriptionOfText(what).c_str()));
        if (category.empty())
            return;
        icalcomponent_add_property(c, icalproperty_new_categories(category.c_str()));
        // CATEGORIES is a list split at commas: a comma of ours would come back as two
        // categories, so the exact text travels beside it.
        if (category.find(',') != std::string::npos)
            addX(c, kCategoryProperty, category.c_str());
    }

    static void addX(icalcomponent* c, const char* name, const char* value) {
        icalproperty* p = icalproperty_new_x(value);
        icalproperty_set_x_name(p, name);
        icalcomponent_add_property(c, p);
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
