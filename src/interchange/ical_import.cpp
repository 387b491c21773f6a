#include "interchange/ical_import.h"

#include "core/editing/recurrence.h"
#include "core/holidays/holiday_rules.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/task_store.h"
#include "core/store/text_codec.h"
#include "core/text/lower_text.h"
#include "interchange/ical_components.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <unordered_set>

namespace dw {

namespace {

using namespace ical;

const char* const kNotCalendar = "The file is not an iCalendar file.";
const char* const kDamaged = "The iCalendar file is damaged: it ends before its calendar does.";

// The yearly rule of a holiday we wrote: FREQ=YEARLY with one month and either one day of
// the month or one weekday with an ordinal.
std::optional<YearlyRule> yearlyRuleOf(const icalrecurrencetype& r) {
    if (r.freq != ICAL_YEARLY_RECURRENCE || r.interval != 1 || r.count != 0 ||
        !icaltime_is_null_time(r.until))
        return std::nullopt;
    if (r.by_month[0] < 1 || r.by_month[0] > 12 || r.by_month[1] != ICAL_RECURRENCE_ARRAY_MAX)
        return std::nullopt;
    YearlyRule rule;
    rule.month = r.by_month[0];
    const bool oneMonthDay = r.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX &&
                             r.by_month_day[1] == ICAL_RECURRENCE_ARRAY_MAX;
    const bool oneDay =
        r.by_day[0] != ICAL_RECURRENCE_ARRAY_MAX && r.by_day[1] == ICAL_RECURRENCE_ARRAY_MAX;
    if (oneMonthDay && r.by_day[0] == ICAL_RECURRENCE_ARRAY_MAX) {
        rule.monthDay = r.by_month_day[0];
        if (!isValidDate(2000, rule.month, rule.monthDay))
            return std::nullopt;
        return rule;
    }
    if (oneDay && r.by_month_day[0] == ICAL_RECURRENCE_ARRAY_MAX) {
        const int position = icalrecurrencetype_day_position(r.by_day[0]);
        rule.weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(r.by_day[0]));
        if (rule.weekday < 1 || rule.weekday > 7 ||
            !(position == -1 || (position >= 1 && position <= 4)))
            return std::nullopt;
        rule.ordinal = position;
        return rule;
    }
    return std::nullopt;
}

// --------------------------------------------------------------------------------------
// Reading

class CalendarReader {
public:
    CalendarReader(const ImportRange& range, const UtcToLocal& toLocal)
        : range_(range), toLocal_(toLocal) {}

    void read(icalcomponent* calendar) {
        root_ = calendar;
        collectReplacedInstances();
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
            switch (icalcomponent_isa(c)) {
            case ICAL_VEVENT_COMPONENT:
                readEvent(c);
                break;
            case ICAL_VTODO_COMPONENT:
                readTodo(c);
                break;
            default:
                break;
            }
        }
    }

    CalendarContents take() {
        if (dropped_ > 0)
            note("Control characters dropped from the texts: " + std::to_string(dropped_));
        return std::move(out_);
    }

private:
    // Objects with a RECURRENCE-ID stand in for one instance of their repeating event.
    void collectReplacedInstances() {
        for (icalcomponent* c = icalcomponent_get_first_component(root_, ICAL_VEVENT_COMPONENT); c;
             c = icalcomponent_get_next_component(root_, ICAL_VEVENT_COMPONENT)) {
            icalproperty* p = icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY);
            if (!p)
                continue;
            replaced_[text(icalcomponent_get_uid(c))].push_back(
                withZone(icalproperty_get_recurrenceid(p), p, root_));
        }
    }

    void readEvent(icalcomponent* e) {
        const std::string summary = text(icalcomponent_get_summary(e));
        if (icalcomponent_get_status(e) == ICAL_STATUS_CANCELLED)
            return;
        const icaltimetype start = startOf(e, root_);
        if (!isReadableTime(start)) {
            note("Left out, no readable start: " + label(summary));
            return;
        }
        const CheckedText what = taskTextOfComponent(e);
        if (isBlankText(what.text)) {
            note("Left out, no text: an event of " +
                 isoDateText(localMoment(start, toLocal_).date));
            return;
        }
        if (what.shortened)
            note("Text shortened to 2048 characters: " + label(summary));

        if (const auto holiday = holidayOf(e)) {
            const CheckedText name = checkedHolidayName(summary);
            dropped_ += name.droppedControls;
            out_.holidays.push_back({name.text, *holiday});
            return;
        }
        dropped_ += what.droppedControls;
        const CheckedText category = checkedCategory(categoriesOf(e));
        dropped_ += category.droppedControls;
        if (category.shortened)
            note("Category shortened to 20 characters: " + label(summary));
        ImportedTask task;
        task.category = category.text;
        task.what = what.text;
        task.done = isDone(e);
        task.alarm = hasAlarm(e);

        static const std::vector<icaltimetype> kNone;
        const auto replaced = replaced_.find(text(icalcomponent_get_uid(e)));
        const Occurrences found =
            occurrencesOf(e, start, root_, range_, toLocal_,
                          replaced == replaced_.end() ? kNone : replaced->second, steps_);
        if (found.ruleUnreadable)
            note("Repetition not understood, first date only: " + label(summary));
        std::set<std::pair<int, int>> dates;
        for (const icaltimetype& t : found.times) {
            const LocalMoment m = localMoment(t, toLocal_);
            addTask(task, m.date, m.minute, dates);
            // An event over several days shows on each of them, all day after the first.
            ImportedTask later = task;
            later.alarm = false;
            const int days = daysCovered(e, t, toLocal_);
            for (int offset = 1; offset < days && m.date + offset <= range_.to; ++offset)
                if (m.date + offset >= range_.from)
                    addTask(later, m.date + offset, std::nullopt, dates);
        }
    }

    // Once per date and time an event falls on.
    void addTask(ImportedTask task, int date, std::optional<int> minute,
                 std::set<std::pair<int, int>>& dates) {
        if (!dates.insert({date, minute.value_or(-1)}).second)
            return;
        if (out_.tasks.size() >= kMaxImportedTasks)
            throw IcalFileError("The file holds more than " + std::to_string(kMaxImportedTasks) +
                                " tasks in the chosen dates.");
        task.date = date;
        task.minuteOfDay = minute;
        out_.tasks.push_back(std::move(task));
    }

    std::optional<YearlyRule> holidayOf(icalcomponent* e) {
        const auto kind = xValue(e, kKindProperty);
        if (!kind || !equalsNoCase(*kind, kHolidayKind))
            return std::nullopt;
        icalproperty* p = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY);
        if (!p || icalcomponent_get_next_property(e, ICAL_RRULE_PROPERTY))
            return std::nullopt;
        return yearlyRuleOf(icalproperty_get_rrule(p));
    }

    void readTodo(icalcomponent* t) {
        if (icalcomponent_get_status(t) == ICAL_STATUS_CANCELLED)
            return;
        const std::string summary = text(icalcomponent_get_summary(t));
        const CheckedText what = taskTextOfComponent(t);
        if (isBlankText(what.text)) {
            note("Left out, no text: a to-do task");
            return;
        }
        if (what.shortened)
            note("Text shortened to 2048 characters: " + label(summary));
        const CheckedText category = checkedCategory(categoriesOf(t));
        if (category.shortened)
            note("Category shortened to 20 characters: " + label(summary));
        dropped_ += what.droppedControls + category.droppedControls;
        // A due date puts it on that day.
        const icaltimetype due = dueOf(t, root_);
        if (!icaltime_is_null_time(due)) {
            if (!isReadableTime(due)) {
                note("Left out, no readable due date: " + label(summary));
                return;
            }
            const LocalMoment m = localMoment(due, toLocal_);
            if (m.date < range_.from || m.date > range_.to)
                return;
            if (out_.tasks.size() >= kMaxImportedTasks)
                throw IcalFileError("The file holds more than " +
                                    std::to_string(kMaxImportedTasks) +
                                    " tasks in the chosen dates.");
            out_.tasks.push_back(
                {m.date, m.minute, category.text, what.text, isDone(t), hasAlarm(t)});
            return;
        }
        out_.todos.push_back({category.text, what.text, isDone(t)});
    }

    static std::string label(const std::string& summary) {
        const std::string line = firstLine(summary);
        return line.empty() ? std::string("(no title)") : "\"" + truncateChars(line, 60) + "\"";
    }

    void note(std::string line) { out_.notes.push_back(std::move(line)); }

    ImportRange range_;
    const UtcToLocal& toLocal_;
    icalcomponent* root_ = nullptr;
    std::map<std::string, std::vector<icaltimetype>> replaced_;
    std::size_t steps_ = 0;
    int dropped_ = 0; // control characters taken out of the texts read
    CalendarContents out_;
};

// The checks before the library sees the text: no binary data, the calendar's first line,
// and not more objects than the limit.
std::string checkedCalendarText(std::string_view fileText) {
    if (fileText.size() > kMaxCalendarFileBytes)
        throw IcalFileError("The file is too large to be a calendar (more than 10 MB).");
    if (fileText.find('\0') != std::string_view::npos)
        throw IcalFileError(kNotCalendar);
    std::string decoded = decodeFileBytes(ical::unfoldedBytes(fileText));
    const auto first = decoded.find_first_not_of(" \t\r\n");
    if (first == std::string::npos ||
        !startsWithNoCase(std::string_view(decoded).substr(first), "BEGIN:VCALENDAR"))
        throw IcalFileError(kNotCalendar);
    std::size_t objects = 0;
    for (std::size_t at = decoded.find("BEGIN:"); at != std::string::npos;
         at = decoded.find("BEGIN:", at + 6))
        if ((at == 0 || decoded[at - 1] == '\n') && ++objects > kMaxCalendarObjects)
            throw IcalFileError("The file holds more than " + std::to_string(kMaxCalendarObjects) +
                                " calendar objects.");
    return decoded;
}

} // namespace

namespace ical {

void useLibraryQuietly() {
    icalerror_set_errors_are_fatal(0);
}

} // namespace ical

DateSerial systemLocalTime(std::int64_t utcSeconds) {
    const time_t t = static_cast<time_t>(utcSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    return dateSerialOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           timeFraction(local.tm_hour, local.tm_min, local.tm_sec);
}

ImportRange defaultImportRange(int today) {
    const CivilDate d = decodeDate(today);
    const auto sameDay = [&](int year) {
        return dateSerialOf(year, d.month, std::min(d.day, daysInMonth(d.month, year)));
    };
    return {sameDay(d.year - 1), sameDay(d.year + 2)};
}

std::string importRangeError(const ImportRange& range) {
    if (range.to < range.from)
        return "The end date is before the start date.";
    if (range.to - range.from > kMaxRecurrenceDays)
        return kRangeTooLongMessage;
    return {};
}

std::string readCalendarFile(const std::string& path) {
    FileBytes bytes;
    std::string error;
    switch (readWholeFile(path, kMaxCalendarFileBytes, bytes, error)) {
    case ReadResult::Ok:
        return std::string(bytes.data.get(), bytes.size);
    case ReadResult::TooLarge:
        throw IcalFileError("The file is too large to be a calendar (more than 10 MB).");
    case ReadResult::Failed:
        break;
    }
    throw IcalFileError("Cannot read " + path + ": " + error);
}

CalendarContents readCalendar(std::string_view fileText, const ImportRange& range,
                              const UtcToLocal& toLocal) {
    useLibraryQuietly();
    const std::string decoded = checkedCalendarText(fileText);
    ComponentPtr root(icalparser_parse_string(decoded.c_str()));
    if (!root)
        throw IcalFileError(kDamaged);
    CalendarReader reader(range, toLocal);
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        reader.read(root.get());
    } else if (icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
        for (icalcomponent* c =
                 icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
             c; c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            reader.read(c);
    } else {
        throw IcalFileError(kNotCalendar);
    }
    return reader.take();
}

ImportPlan planImport(CalendarContents contents, const CellTable& gridStore,
                      const CellTable& gridNonday, const CellTable& holidays,
                      const FormatSettings& fs) {
    // Only what the tables hold counts: two equal objects of the file are two objects there
    // (we write two equal tasks as two), so both come in.
    ImportPlan plan;
    std::unordered_set<std::string> stored;
    for (int r = 1; r < gridStore.rowCount(); ++r)
        stored.insert(taskKey(keyDate(gridStore.cell(StoreCol::Key, r), fs),
                              gridStore.cell(StoreCol::Time, r), gridStore.cell(StoreCol::What, r),
                              fs));
    for (ImportedTask& t : contents.tasks) {
        if (stored.contains(taskKey(t.date, t.minuteOfDay, t.what)))
            ++plan.duplicates;
        else
            plan.add.tasks.push_back(std::move(t));
    }
    stored.clear();
    for (int r = 1; r < gridNonday.rowCount(); ++r)
        if (isTodoRowOccupied(gridNonday, r))
            stored.insert(todoKey(gridNonday.cell(TodoCol::What, r)));
    for (ImportedTodo& t : contents.todos) {
        if (stored.contains(todoKey(t.what)))
            ++plan.duplicates;
        else
            plan.add.todos.push_back(std::move(t));
    }
    stored.clear();
    for (int r = 1; r < holidays.rowCount(); ++r)
        if (const auto rule = yearlyRuleOfHoliday(holidays.cell(kHolidayMonth, r),
                                                  holidays.cell(kHolidayRule, r), fs))
            stored.insert(holidayKey(holidays.cell(kHolidayName, r), *rule));
    for (ImportedHoliday& h : contents.holidays) {
        if (stored.contains(holidayKey(h.name, h.rule)))
            ++plan.duplicates;
        else
            plan.add.holidays.push_back(std::move(h));
    }
    plan.add.notes = std::move(contents.notes);
    return plan;
}

std::vector<CalendarItem> planItems(const ImportPlan& plan) {
    std::vector<CalendarItem> items;
    for (const ImportedTask& t : plan.add.tasks)
        items.push_back({CalendarItemKind::Task, t.date, t.minuteOfDay, {}, firstLine(t.what)});
    for (const ImportedTodo& t : plan.add.todos)
        items.push_back({CalendarItemKind::Todo, 0, std::nullopt, {}, firstLine(t.what)});
    for (const ImportedHoliday& h : plan.add.holidays)
        items.push_back({CalendarItemKind::Holiday, 0, std::nullopt, h.rule, h.name});
    return items;
}

Status applyImport(const ImportPlan& plan, TaskStore& store, CellTable& holidays,
                   const std::string& holidayPath, const FormatSettings& fs) {
    Status saved;
    const auto& tasks = plan.add.tasks;
    if (!tasks.empty()) {
        // All of them placed at once, then one sort and one save.
        std::vector<PlacedTask> placed;
        placed.reserve(tasks.size());
        for (const ImportedTask& t : tasks)
            placed.push_back(
                {t.date, {timeTextOf(t.minuteOfDay, fs), t.category, t.what, t.done, t.alarm}});
        store.placeTasks(placed);
        saved += store.sortAndSaveStore();
    }
    if (!plan.add.todos.empty()) {
        CellTable& todo = store.gridNonday();
        for (const ImportedTodo& t : plan.add.todos) {
            const int r = firstFreeTodoRow(todo);
            todo.setCell(TodoCol::Category, r, t.category);
            todo.setCell(TodoCol::What, r, t.what);
            todo.setCell(TodoCol::Done, r, yesNo(t.done));
        }
        saved += store.saveTodoFile();
    }
    if (!plan.add.holidays.empty()) {
        if (holidays.colCount() < 4)
            holidays.setColCount(4);
        if (holidays.rowCount() < 1)
            holidays.setRowCount(1);
        const char* headers[] = {"Holiday name", "Mo #", "Month", "Day of month"};
        for (int c = 0; c < 4; ++c)
            if (holidays.cell(c, 0).empty())
                holidays.setCell(c, 0, headers[c]);
        for (const ImportedHoliday& h : plan.add.holidays) {
            int r = 1;
            while (r < holidays.rowCount() && !(holidays.cell(kHolidayName, r).empty() &&
                                                holidays.cell(kHolidayRule, r).empty()))
                ++r;
            if (r == holidays.rowCount())
                holidays.insertRows(r, 1);
            char month[8];
            std::snprintf(month, sizeof month, "%.2d", h.rule.month);
            holidays.setCell(kHolidayName, r, h.name);
            holidays.setCell(kHolidayMonthNumber, r, month);
            holidays.setCell(kHolidayMonth, r,
                             fs.longMonthNames[static_cast<std::size_t>(h.rule.month - 1)]);
            holidays.setCell(kHolidayRule, r, holidayRuleText(h.rule, fs));
        }
        saved += holidays.saveTable(holidayPath);
    }
    return saved;
}

ImportOutcome importCalendar(std::string_view fileText, const ImportRange& range, TaskStore& store,
                             CellTable& holidays, const std::string& holidayPath,
                             const FormatSettings& fs, const UtcToLocal& toLocal) {
    ImportOutcome outcome;
    outcome.plan = planImport(readCalendar(fileText, range, toLocal), store.gridStore(),
                              store.gridNonday(), holidays, fs);
    outcome.saved = applyImport(outcome.plan, store, holidays, holidayPath, fs);
    return outcome;
}

} // namespace dw
