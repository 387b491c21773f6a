#pragma once

namespace dw {

class AppState;
class MainWindow;

// Makes the window's views follow the store's changes (app_state.h storeEvents):
// - the day view reads its date again when a change touches it (unless the day view made
//   the change itself), then shows it with its captions and notes pane;
// - the to-do list shows a change to it;
// - the calendars are coloured again once the window has been shown;
// - a hover summary of a changed date is taken down, to be filled anew when asked for.
void connectStoreViews(MainWindow& window, AppState& state);

} // namespace dw
