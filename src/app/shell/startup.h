#pragma once

namespace dw {

// The program: one instance per data folder, the windows, the event loop. Answers the
// process's exit status.
int runDayweaver(int argc, char** argv);

} // namespace dw
