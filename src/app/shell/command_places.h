#pragma once

class QMenu;
class QToolBar;
class QWidget;

namespace dw {

class MainActions;

// Where the commands beside the main window put their actions, and the window their
// dialogs open over. The window builds them; the composition hands them on.
struct CommandPlaces {
    QWidget* window = nullptr;
    const MainActions* actions = nullptr;
    QMenu* fileMenu = nullptr;
    QToolBar* mainToolBar = nullptr;
    QToolBar* dayToolBar = nullptr;
    QToolBar* todoToolBar = nullptr;
    // The pop-up menus of the day view and the to-do list (the task commands make them).
    QMenu* dayMenu = nullptr;
    QMenu* todoMenu = nullptr;
};

} // namespace dw
