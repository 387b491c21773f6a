#pragma once

#include "cli/parsed_args.h"
#include "core/dates/clock.h"
#include "core/dates/format_settings.h"
#include "core/settings/settings_store.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace dw::cli {

// Objects a command that only reads leaves to the operating system when the process ends
// right after it: freeing a large store piece by piece would cost more than the query
// itself. In a process that goes on they are freed with the keeper.
class KeptObjects {
public:
    explicit KeptObjects(bool leftToExit) : leftToExit_(leftToExit) {}
    ~KeptObjects() {
        if (!leftToExit_)
            for (const auto& free : frees_)
                free();
    }
    KeptObjects(const KeptObjects&) = delete;
    KeptObjects& operator=(const KeptObjects&) = delete;

    template <typename T, typename... A> T& keep(A&&... args) {
        auto object = std::make_unique<T>(std::forward<A>(args)...);
        frees_.push_back([kept = object.get()] { delete kept; });
        return *object.release();
    }

private:
    bool leftToExit_;
    std::vector<std::function<void()>> frees_;
};

// What a command of the table runs with: its arguments read against its entry, the streams
// it prints to, and what the process around it supplies.
struct CommandRun {
    const ParsedArgs& args;
    // The command's name and its own words as typed (the data folder option left out):
    // what a running program is handed for a writing command.
    const std::vector<std::string>& words;
    std::ostream& out;
    std::ostream& err;
    const std::string& dataDir;
    const FormatSettings& fs;
    const Clock& clock;
    const SettingsStore& settings;
    const UtcToLocal& toLocal;
    KeptObjects& kept;
};

// A problem with the data: the message goes to stderr, exit status 1.
struct DataError {
    std::string message;
};

} // namespace dw::cli
