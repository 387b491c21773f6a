#pragma once

#include <QObject>
#include <functional>

namespace dw {

class AppState;
class CalendarPane;
class CellGrid;
class DayNotes;
class HoverSummary;
class PaneLayout;
struct WindowState;

// The views that show the store, as the composition hands them in.
struct StoreViews {
    // The connection lives as long as this object (the main window).
    QObject* owner = nullptr;
    CellGrid* gridDay = nullptr;
    CellGrid* gridNonday = nullptr;
    PaneLayout* paneLayout = nullptr;
    CalendarPane* calendars = nullptr;
    HoverSummary* hover = nullptr;
    DayNotes* notes = nullptr;
    // The window's captions: the date's and the to-do list's.
    std::function<void()> updateCaptions;
    const WindowState* windowState = nullptr;
};

// Makes the window's views follow the store's changes (app_state.h storeEvents):
// - the day view reads its date again when a change touches it (unless the day view made
//   the change itself), then shows it with its captions and notes pane;
// - the to-do list shows a change to it;
// - the calendars are coloured again once the window has been shown;
// - a hover summary of a changed date is taken down, to be filled anew when asked for.
void connectStoreViews(const StoreViews& views, AppState& state);

} // namespace dw
