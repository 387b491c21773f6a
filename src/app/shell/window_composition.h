#pragma once

#include <memory>

namespace dw {

class AlarmNotifier;
class AppState;
class CommandServer;
class FindDialog;
class HoverSummary;
class KeyNavigation;
class MainWindow;
class OptionsDialog;
class TaskCommands;

// The program's composition root: builds the main window (which builds its own panes,
// menus and helpers and loads the tables), the options window, and every command and
// window beside them, and hands each exactly what it works on by constructor: the panes
// and controls it uses, the application state, the parts it works with and the window's
// own state. No part asks the main window for another part. The program and the tests
// build the windows through it, so both run the same wiring.
//
// Set-up order: the main window (loading at creation); the filter's state; the options
// window; the commands; the key rules (installed last, so they come first); the completed
// tasks; the command hand-over. Setting up at first show and saving at close stay the
// main window's.
class WindowComposition {
public:
    explicit WindowComposition(AppState& state);
    ~WindowComposition();
    WindowComposition(const WindowComposition&) = delete;
    WindowComposition& operator=(const WindowComposition&) = delete;

    MainWindow& window() const { return *window_; }
    OptionsDialog& options() const { return *options_; }
    TaskCommands& taskCommands() const { return *taskCommands_; }
    AlarmNotifier& alarms() const { return *alarms_; }
    HoverSummary& hoverSummary() const { return *hover_; }
    // The command line's writing commands, handed over while the program runs.
    CommandServer& commandServer() const { return *commandServer_; }
    // The Find command: the non-modal find dialog, made at its first use.
    void showFind();
    FindDialog* findDialog() const { return findDialog_; }

private:
    void buildCommands();

    AppState& state_;
    std::unique_ptr<MainWindow> window_;
    // Made after the main window and gone before it, as a dialog of the window.
    std::unique_ptr<OptionsDialog> options_;
    // The parts below live as the main window's children.
    TaskCommands* taskCommands_ = nullptr;
    AlarmNotifier* alarms_ = nullptr;
    HoverSummary* hover_ = nullptr;
    KeyNavigation* keyNavigation_ = nullptr;
    FindDialog* findDialog_ = nullptr;
    std::unique_ptr<CommandServer> commandServer_;
};

} // namespace dw
