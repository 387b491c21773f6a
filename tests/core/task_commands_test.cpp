#include "core/dates/date_serial.h"
#include "core/editing/task_commands.h"
#include "core/store/task_store.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

const int kToday = 36526; // Saturday 1 January 2000

FormatSettings usFormats() {
    FormatSettings fs = FormatSettings::enUS();
    fs.shortDateFormat = "M/d/yyyy";
    return fs;
}

// A table with the given data rows (row 0 left as it is).
CellTable withRows(CellTable t, const std::vector<std::vector<std::string>>& rows) {
    t.setRowCount(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            t.setCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
    return t;
}

std::vector<std::string> column(const CellTable& t, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < t.rowCount(); ++r)
        out.push_back(t.cell(col, r));
    return out;
}

std::vector<CellTable::Row> rowsOf(const CellTable& t) {
    std::vector<CellTable::Row> out;
    for (int r = 1; r < t.rowCount(); ++r)
        out.push_back(t.row(r));
    return out;
}

TEST(TaskCommands, EachControlNamesItsPane) {
    using S = CommandSource;
    const auto day = TaskPane::Day, todo = TaskPane::Todo;
    EXPECT_EQ(addPane(S::dayToolbarAdd), day);
    EXPECT_EQ(addPane(S::dayMenuAdd), day);
    EXPECT_EQ(addPane(S::todoToolbarAdd), todo);
    EXPECT_EQ(addPane(S::todoMenuAdd), todo);
    EXPECT_EQ(deletePane(S::dayToolbarDelete), day);
    EXPECT_EQ(deletePane(S::dayMenuDelete), day);
    EXPECT_EQ(deletePane(S::todoToolbarDelete), todo);
    EXPECT_EQ(deletePane(S::todoMenuDelete), todo);

    // Edit and Mark as completed: focus first, then the pane that has it.
    EXPECT_EQ(focusPaneOf(S::dayToolbarEdit), day);
    EXPECT_EQ(focusPaneOf(S::dayMenuDone), day);
    EXPECT_EQ(focusPaneOf(S::todoToolbarDone), todo);
    EXPECT_EQ(focusPaneOf(S::todoMenuDone), todo);
    EXPECT_EQ(focusPaneOf(S::dayMenuEdit), std::nullopt);
    EXPECT_EQ(focusPaneOf(S::dayDoubleClick), std::nullopt);

    struct Case {
        std::optional<TaskPane> focused;
        CommandSource source;
        TaskPane pane;
    } cases[] = {
        {todo, S::dayToolbarEdit, todo}, // the focused to-do list wins over everything
        {day, S::todoMenuEdit, day},
        {std::nullopt, S::dayToolbarEdit, day},
        {std::nullopt, S::dayMenuEdit, day},
        {std::nullopt, S::dayToolbarDone, todo}, // no focus and no day Edit: the to-do list
        {std::nullopt, S::todoDoubleClick, todo},
    };
    for (const auto& c : cases)
        EXPECT_EQ(editPane(c.focused, c.source), c.pane) << static_cast<int>(c.source);
}

TEST(TaskCommands, TitlesAndOriginsOfTheEditor) {
    const FormatSettings fs = usFormats();
    FixedClock clock(kToday + 0.5);

    EXPECT_EQ(dayTitle(kToday + 1, fs, clock), "Sun 1/2/2000 Tomorrow");
    const EditorTitle future = addDayTitle(kToday + 1, fs, clock);
    EXPECT_EQ(future.text, "Sun 1/2/2000 Tomorrow");
    EXPECT_FALSE(future.past);
    const EditorTitle today = addDayTitle(kToday, fs, clock);
    EXPECT_EQ(today.text, "Sat 1/1/2000 Today");
    EXPECT_FALSE(today.past);
    const EditorTitle past = addDayTitle(kToday - 1, fs, clock);
    EXPECT_EQ(past.text, "PAST Fri 12/31/1999 Yesterday");
    EXPECT_TRUE(past.past);

    EXPECT_EQ(originText(TaskPane::Day, true, kToday, fs), "Sat 1/1/2000");
    EXPECT_EQ(originText(TaskPane::Day, false, kToday, fs), "Sat 1/1/2000");
    EXPECT_EQ(originText(TaskPane::Todo, true, kToday, fs), "To-do task");
    EXPECT_EQ(originText(TaskPane::Todo, false, kToday, fs), "Non date task");
    EXPECT_EQ(timeCellText(kToday + 0.75, fs), "6:00 PM");
}

TEST(TaskCommands, QuestionsQuoteAtMostFiftyCharacters) {
    EXPECT_EQ(deleteQuestion("Call Ann"), "Really delete \"Call Ann ... \"?");
    EXPECT_EQ(deleteQuestion(std::string(60, 'x')),
              "Really delete \"" + std::string(50, 'x') + " ... \"?");
    // Characters, not bytes: fifty umlauts stay whole.
    std::string umlauts;
    for (int i = 0; i < 55; ++i)
        umlauts += "ü";
    EXPECT_EQ(deleteQuestion(umlauts), "Really delete \"" + umlauts.substr(0, 100) + " ... \"?");
    EXPECT_EQ(deleteQuestion(""), "Really delete \" ... \"?");

    EXPECT_EQ(paneMoveQuestion(TaskPane::Day),
              "Really move task between grids?  You will lose the Time and Alarm fields.");
    EXPECT_EQ(paneMoveQuestion(TaskPane::Todo), "Really move task between grids?");
}

TEST(TaskCommands, AToDoTaskWithoutCategoryIsStillATask) {
    CellTable todo = withRows(makeGridNonday(), {{"Home", "Paint", "No"},
                                                 {"", "Call Ann", "No"}, // no category
                                                 {"", "", ""},
                                                 {"Work", "", "No"}});
    EXPECT_TRUE(isPaneRowOccupied(todo, TaskPane::Todo, 1));
    EXPECT_TRUE(isPaneRowOccupied(todo, TaskPane::Todo, 2));
    EXPECT_FALSE(isPaneRowOccupied(todo, TaskPane::Todo, 3));
    EXPECT_TRUE(isPaneRowOccupied(todo, TaskPane::Todo, 4));
    EXPECT_FALSE(isPaneRowOccupied(todo, TaskPane::Todo, 0)); // the header
    EXPECT_FALSE(isPaneRowOccupied(todo, TaskPane::Todo, 5)); // past the end
    // Add takes the really empty row, not the one without a category.
    EXPECT_EQ(freePaneRow(todo, TaskPane::Todo), 3);

    FormatSettings fs = usFormats();
    FixedClock clock(kToday);
    CellTable day = withRows(makeGridDay(fs, clock), {{"9:00 AM", "", "x", "No", "No"},
                                                      {"", "Work", "no time", "No", "No"}});
    EXPECT_TRUE(isPaneRowOccupied(day, TaskPane::Day, 1));
    EXPECT_FALSE(isPaneRowOccupied(day, TaskPane::Day, 2)); // a day row needs its time
    EXPECT_EQ(freePaneRow(day, TaskPane::Day), 2);
    // Every row taken: a new one is appended.
    CellTable full = withRows(makeGridNonday(), {{"", "a", "No"}});
    EXPECT_EQ(freePaneRow(full, TaskPane::Todo), 2);
    EXPECT_EQ(full.rowCount(), 3);
}

TEST(TaskCommands, ReorderingMovesOneRowAndShiftsTheOthers) {
    struct Case {
        int from, to;
        std::vector<std::string> order;
        bool moved;
    } cases[] = {
        {1, 3, {"b", "c", "a", "d"}, true},  {4, 2, {"a", "d", "b", "c"}, true},
        {2, 2, {"a", "b", "c", "d"}, false}, {2, 0, {"a", "b", "c", "d"}, false}, // header
        {2, 5, {"a", "b", "c", "d"}, false},                                      // below
    };
    for (const auto& c : cases) {
        CellTable todo =
            withRows(makeGridNonday(),
                     {{"", "a", "No"}, {"", "b", "No"}, {"", "c", "Yes"}, {"", "d", "No"}});
        EXPECT_EQ(moveRowWithin(todo, c.from, c.to), c.moved) << c.from << "->" << c.to;
        EXPECT_EQ(column(todo, TodoCol::What), c.order) << c.from << "->" << c.to;
    }
}

TEST(TaskCommands, MovingBetweenPanesLosesOrGainsTimeAndAlarm) {
    FormatSettings fs = usFormats();
    FixedClock clock(kToday);
    CellTable day = withRows(makeGridDay(fs, clock), {{"9:00 AM", "Work", "Standup", "No", "Yes"},
                                                      {"2:00 PM", "Home", "Dentist", "Yes", "No"}});
    CellTable todo = withRows(makeGridNonday(), {{"", "Call Ann", "No"}});

    // Day to to-do: a new row at the drop row; time and alarm stay behind.
    ASSERT_TRUE(moveBetweenPanes(day, TaskPane::Day, 1, todo, 1, "3:15 PM"));
    EXPECT_EQ(column(todo, TodoCol::What), (std::vector<std::string>{"Standup", "Call Ann"}));
    EXPECT_EQ(todo.row(1), (CellTable::Row{"Work", "Standup", "No"}));
    EXPECT_EQ(column(day, DayCol::What), (std::vector<std::string>{"Dentist"}));

    // To-do to day: the current time and no alarm; the last task leaves its pane empty
    // but with one row.
    CellTable one = withRows(makeGridNonday(), {{"Garden", "Mow", "Yes"}});
    ASSERT_TRUE(moveBetweenPanes(one, TaskPane::Todo, 1, day, 1, "3:15 PM"));
    EXPECT_EQ(day.row(1), (CellTable::Row{"3:15 PM", "Garden", "Mow", "Yes", "No"}));
    EXPECT_EQ(one.rowCount(), 2);
    EXPECT_EQ(one.row(1), (CellTable::Row{"", "", ""}));

    // Into an empty pane: its blank row takes the task, and no blank row stays behind.
    ASSERT_TRUE(moveBetweenPanes(day, TaskPane::Day, 1, one, 1, "3:15 PM"));
    EXPECT_EQ(rowsOf(one), (std::vector<CellTable::Row>{{"Garden", "Mow", "Yes"}}));
    ASSERT_TRUE(moveBetweenPanes(one, TaskPane::Todo, 1, day, 1, "3:15 PM"));

    // Nothing moves from an empty row, or onto the header or below the last row.
    EXPECT_FALSE(moveBetweenPanes(one, TaskPane::Todo, 1, day, 1, "3:15 PM"));
    EXPECT_FALSE(moveBetweenPanes(day, TaskPane::Day, 1, todo, 0, "3:15 PM"));
    EXPECT_FALSE(moveBetweenPanes(day, TaskPane::Day, 1, todo, todo.rowCount(), "3:15 PM"));
    EXPECT_EQ(day.rowCount(), 3);
    EXPECT_EQ(todo.rowCount(), 3);

    // The fields a calendar drop takes.
    const DatedTask fromTodo = taskOfRow(todo, TaskPane::Todo, 2, "3:15 PM");
    EXPECT_EQ(fromTodo.time, "3:15 PM");
    EXPECT_EQ(fromTodo.what, "Call Ann");
    EXPECT_FALSE(fromTodo.alarm);
    const DatedTask fromDay = taskOfRow(day, TaskPane::Day, 2, "3:15 PM");
    EXPECT_EQ(fromDay.time, "2:00 PM");
    EXPECT_TRUE(fromDay.done);
}

TEST(TaskCommands, ToggleAlarmFlipsOnlyATask) {
    FormatSettings fs = usFormats();
    FixedClock clock(kToday);
    CellTable day = withRows(makeGridDay(fs, clock), {{"9:00 AM", "", "x", "No", "No"},
                                                      {"9:30 AM", "", "y", "No", "yes"},
                                                      {"", "", "", "", ""}});
    ASSERT_TRUE(toggleAlarm(day, 1));
    EXPECT_EQ(day.cell(DayCol::Alarm, 1), "Yes");
    ASSERT_TRUE(toggleAlarm(day, 1));
    EXPECT_EQ(day.cell(DayCol::Alarm, 1), "No");
    ASSERT_TRUE(toggleAlarm(day, 2)); // only "Yes" exactly is set
    EXPECT_EQ(day.cell(DayCol::Alarm, 2), "Yes");
    EXPECT_FALSE(toggleAlarm(day, 3));
    EXPECT_EQ(day.cell(DayCol::Alarm, 3), "");
}

TEST(TaskCommands, NotesPaneShowsTheLinesAndHandsBackSafeText) {
    EXPECT_EQ(notesPaneText("Buy milk"), "Buy milk");
    EXPECT_EQ(notesPaneText("Buy milk\r\nand bread\r\n"), "Buy milk\nand bread\n");
    EXPECT_EQ(notesPaneText(""), "");
    // One word added to a list changes that line only; the other lines keep their breaks.
    const std::string list = "Shopping list:\r\neggs\r\nbread\r\n";
    std::string edited = notesPaneText(list);
    edited.insert(edited.find("bread") + 5, " milk");
    EXPECT_EQ(notesPaneWriteBack(edited), "Shopping list:\r\neggs\r\nbread milk\r\n");
    EXPECT_EQ(notesPaneWriteBack(notesPaneText(list)), list);
    EXPECT_EQ(notesPaneColor(false), 0x00C9FCF8u);
    EXPECT_EQ(notesPaneColor(true), 0x8000000Fu);

    EXPECT_EQ(notesPaneWriteBack("Buy milk"), "Buy milk");
    EXPECT_EQ(notesPaneWriteBack("a\nb"), "a\r\nb\r\n");
    // TAB and backspace never reach a table file, where they would read as line breaks.
    EXPECT_EQ(notesPaneWriteBack("a\tb\bc"), "a bc");

    EXPECT_TRUE(isStruckOutDone("Yes"));
    EXPECT_TRUE(isStruckOutDone("Yes!"));
    EXPECT_FALSE(isStruckOutDone("No"));
    EXPECT_FALSE(isStruckOutDone("yes"));
}

} // namespace
} // namespace dw
