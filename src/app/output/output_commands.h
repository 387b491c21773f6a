#pragma once

namespace dw {

class AppState;
class DayNotes;
class SelectedDay;
class ShadowLabel;
struct CommandPlaces;

// Plugs the output commands into the main window: export, the web page, printing and the
// completed tasks window. Each lives as a child of the window (findChild finds it).
void installOutputCommands(const CommandPlaces& places, SelectedDay selected, DayNotes& notes,
                           ShadowLabel& dateCaption, ShadowLabel& todoCaption, AppState& state);

} // namespace dw
