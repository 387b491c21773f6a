#pragma once

namespace dw {

class AppState;
class MainWindow;

// Plugs the output commands into the main window: export, the web page, printing and the
// completed tasks window. Each lives as a child of the window (findChild finds it).
void installOutputCommands(MainWindow& window, AppState& state);

} // namespace dw
