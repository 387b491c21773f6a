#include "app/shell/app_state.h"

#include "core/dates/date_serial.h"
#include "core/holidays/holiday_table.h"
#include "core/settings/option_keys.h"
#include "core/store/helpers.h"

namespace dw {

AppState::AppState(FormatSettings fs, std::unique_ptr<Clock> clock,
                   std::unique_ptr<SettingsBackend> settingsBackend, AppPaths paths,
                   Prompts& prompts)
    : fs_(std::move(fs)), clock_(std::move(clock)), settingsBackend_(std::move(settingsBackend)),
      settings_(*settingsBackend_), paths_(std::move(paths)), prompts_(prompts),
      store_(fs_, *clock_), gridHoliday_(4, 2), completed_(paths_.dataDir) {
    store_.setDataDir(paths_.dataDir);
    gridHoliday_.setFileRules(holidayFileRules());
    printSelection_ = PrintSelection::startingOn(wholeDays(clock_->now()));
    gridPrint_ = makePrintTable();
    store_.setFilter([this](const std::string& done, const std::string& category) {
        return filter_.taskPassesFilter(done, category);
    });
}

void AppState::loadFilter() {
    loadFilterState(filter_, paths_.dataDir, settings_);
}

AlarmSettings AppState::alarmSettings() const {
    return {options_.playAlarm, options_.alarmMin};
}

void AppState::loadOptions(bool autostartEntryExists) {
    options_ =
        readOptions(settings_, paths_.shippedDir.empty() ? paths_.programDir : paths_.shippedDir,
                    autostartEntryExists);
}

std::string AppState::holidayPath() const {
    return joinPath(paths_.dataDir, "holiday.grd");
}

} // namespace dw
