#pragma once

#include "core/commands/write_commands.h"

#include <string>
#include <vector>

namespace dw {

class AppState;
class MainWindow;

// Applies the writing commands the command line hands to the running program: read and
// checked by the same code as on the command line, applied to the program's own store as
// its window's commands apply theirs (the files saved at once), and then the day view, the
// calendars and the to-do list show the change. Answers what the command line prints.
class CommandServer {
public:
    CommandServer(MainWindow& window, AppState& state);

    CommandOutcome run(const std::vector<std::string>& words);

private:
    void showChanges();

    MainWindow& window_;
    AppState& state_;
};

} // namespace dw
