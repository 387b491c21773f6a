#pragma once

#include "core/settings/option_key_table.h"
#include "core/settings/options.h"
#include "core/settings/settings_store.h"
#include "core/store/task_limits.h"

#include <string>
#include <string_view>

namespace dw {

// The entry for a section and value name (case ignored), or nullptr.
const OptionKey* findOptionKey(std::string_view section, std::string_view name);
// The entry, which must exist (a misspelt name is a programming error and throws).
const OptionKey& optionKey(std::string_view section, std::string_view name);

// The default of an entry as text; for AlarmPath, the sound file in `programDir`, the
// folder of the files the program ships (beside it in a build tree, share/dayweaver when
// installed; the platform finds it).
std::string optionDefaultText(const OptionKey& key, const std::string& programDir = {});

// Typed reads and writes of an entry, with the entry's own default.
std::string readKeyText(const SettingsStore& store, const OptionKey& key,
                        const std::string& programDir = {});
int readKeyInteger(const SettingsStore& store, const OptionKey& key);
bool readKeyFlag(const SettingsStore& store, const OptionKey& key);

// Row height and alarm lead time as their spin boxes allow them.
inline constexpr int kRowHeightMin = 8;
inline constexpr int kRowHeightMax = 50;
inline constexpr int kAlarmMinMin = 0;
inline constexpr int kAlarmMinMax = 120;

// Every option from the store, in the options window's reading order. `startup` is the
// presence of the log-on entry, or on when the options were never saved. Out-of-range
// row height and lead time are brought to the nearer limit.
Options readOptions(const SettingsStore& store, const std::string& programDir,
                    bool autostartEntryExists);

// Writes every option in the options window's saving order (the log-on entry is the
// window's job), FirstTime as "first". Every value is attempted; false when any write
// failed.
bool saveOptions(SettingsStore& store, const Options& options);

} // namespace dw
