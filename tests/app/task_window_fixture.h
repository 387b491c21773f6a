#pragma once

#include "app/editing/task_commands.h"
#include "app/editing/task_editor.h"
#include "app/modal_helpers.h"
#include "app/shell/app_state.h"
#include "app/shell/main_window.h"
#include "app/shell/window_composition.h"
#include "app/widgets/cell_grid.h"
#include "core/dates/date_serial.h"
#include "core/store/task_store.h"
#include "support/fake_prompts.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace dw::test {

// Saturday 1 January 2000.
inline constexpr int kToday = 36526;

// The main window over a data folder, a fixed clock at 9:00 on 1 January 2000, settings in
// a map and scripted prompts; the task editors it opens are answered by `nextEditor`.
class TaskWindowTest : public ::testing::Test {
protected:
    TaskWindowTest() {
        auto clock = std::make_unique<FixedClock>(encodeDateTime(2000, 1, 1, 9, 0));
        clock_ = clock.get();
        auto backend = std::make_unique<MapSettingsBackend>();
        backend_ = backend.get();
        state_ = std::make_unique<AppState>(
            FormatSettings::enUS(), std::move(clock), std::move(backend),
            AppPaths{dir_.file("dayweaver"), dir_.path(), dir_.path()}, prompts_);
    }

    // An option as the settings store holds it before the window reads it.
    void setOption(const std::string& name, const std::string& value) {
        backend_->setValue("Options", name, value);
        state_->loadOptions(false);
    }

    // The windows as the program builds them (window_composition.h), shown.
    MainWindow& shown() {
        composition_.reset();
        composition_ = std::make_unique<WindowComposition>(*state_);
        MainWindow& w = composition_->window();
        w.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        composition_->taskCommands().setEditorSetup([this](TaskEditor& e) {
            ++editorsOpened_;
            auto act = std::move(nextEditor_);
            nextEditor_ = nullptr;
            whenModal<TaskEditor>([&e, act](TaskEditor* opened) {
                EXPECT_EQ(opened, &e);
                if (act)
                    act(e);
                if (e.isVisible()) // an unscripted editor, or one the script left open
                    e.reject();
            });
        });
        return w;
    }
    WindowComposition& composition() { return *composition_; }
    TaskCommands& commands() { return composition_->taskCommands(); }
    MainWindow& window() { return composition_->window(); }

    // What the next editor does once it is open (nothing: it is cancelled).
    void nextEditor(std::function<void(TaskEditor&)> act) { nextEditor_ = std::move(act); }

    // Types into the notes as a user would, which lets a new task be confirmed.
    static void typeNotes(TaskEditor& e, const QString& text) {
        e.notesEdit()->setFocus();
        QTest::keyClicks(e.notesEdit(), text);
    }

    void writeStore(const std::vector<std::vector<std::string>>& rows) {
        ASSERT_TRUE(saveDataRows(makeGridStore(state_->fs()), rows, dir_.file("grid.grd")));
    }
    void writeTodo(const std::vector<std::vector<std::string>>& rows) {
        ASSERT_TRUE(saveDataRows(makeGridNonday(), rows, dir_.file("gridNon.grd")));
    }

    std::vector<std::string> fileRows(const std::string& name) {
        return test::fileRows(dir_.file(name));
    }
    std::vector<std::string> dayRows() { return rowsOf(state_->store().gridDay()); }
    std::vector<std::string> todoRows() { return rowsOf(state_->store().gridNonday()); }

    TempDir dir_;
    FakePrompts prompts_;
    FixedClock* clock_ = nullptr;
    MapSettingsBackend* backend_ = nullptr;
    std::unique_ptr<AppState> state_;
    std::unique_ptr<WindowComposition> composition_;
    std::function<void(TaskEditor&)> nextEditor_;
    int editorsOpened_ = 0;
};

} // namespace dw::test
