#pragma once

#include <optional>

namespace dw {

// The few things `dayweaver` answers on its command line without opening a window:
// --version, --help, and --files (where it finds its data, its alarm sound and its help,
// so an installation can be checked). Answers the exit status when the command line asked
// for one of them, nothing when the program is to start as usual (Qt's own options such
// as -platform pass through).
std::optional<int> answerCommandLine(int argc, char** argv);

} // namespace dw
