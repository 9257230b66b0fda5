// Undo and redo give back every program the student had, key by key and command by command,
// with the changed flag following the saved program.
#include "grid/edit_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/grid_keys.h"
#include "app/line_editing.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::grid {
namespace {

// The whole program in one text: the row count, every stored cell, the breakpoints, the caption
// and the file; or only what a save would write (the table's rows).
enum class Detail { kAll, kNoBreakpoints, kAsSaved };
std::string Program(const Workspace& workspace, Detail detail = Detail::kAll) {
    const ProgramGrid& grid = workspace.grid;
    std::string text = std::to_string(grid.RowCount()) + "\n";
    const int rows = detail == Detail::kAsSaved ? grid.RowCount() : grid.StoredRowCount();
    for (int row = 1; row < rows; ++row) text += app::testing::RowText(workspace, row) + "\n";
    if (detail == Detail::kAsSaved) return text;
    if (detail == Detail::kAll) {
        for (int row : grid.BreakpointRows()) text += "*" + std::to_string(row);
    }
    return text + "\n" + workspace.caption + "\n" + workspace.filePath;
}

// The window's part: note the cursor, do the work, record; a key records the cell it went to.
struct Session {
    Workspace workspace;
    EditHistory history{workspace};

    void Key(std::string_view character) {
        history.NoteCursor(workspace);
        const CellPosition cell{workspace.grid.Col(), workspace.grid.Row()};
        app::TypeText(workspace, character);
        history.Record(workspace, cell, character == "\r" || character == "\t");
    }
    void Type(std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) Key(keys.substr(i, 1));
    }
    template <typename Work>
    void Command(Work work) {
        history.NoteCursor(workspace);
        try {
            work(workspace);
        } catch (const text::ConversionError&) {
            // What was done stays done, and is a step like any other.
        }
        history.Record(workspace);
    }
};

TEST(EditHistoryTest, TheKeysOfOneCellAndItsRewrittenAddressesAreOneStep) {
    // Each row: the keys, then how many steps they make, and the cursor after undoing them all.
    const struct {
        const char* keys;
        int steps;
        const char* cursorAfterUndo;
    } cases[] = {
        {"0200", 1, "1,1/2"},               // typed, not yet committed
        {"0200\r", 1, "1,1/2"},             // committed with Enter
        {"0200\rLDA\r#05\r", 3, "1,1/2"},   // three cells, the checker's rewrites with them
        {"0200\r\b\b\bNOP\r", 2, "1,1/2"},  // Backspace in an empty cell changes nothing
        {"\x1b\x1b", 0, "1,1/2"},           // Escape changes no cell: nothing to undo
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Session s;
        const std::string start = Program(s.workspace);
        s.Type(c.keys);
        const std::string typed = Program(s.workspace);
        int steps = 0;
        while (s.history.Undo(s.workspace)) ++steps;
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(Program(s.workspace), start);
        EXPECT_EQ(app::testing::Cursor(s.workspace), c.cursorAfterUndo);
        while (s.history.Redo(s.workspace)) continue;
        EXPECT_EQ(Program(s.workspace), typed);
    }
}

TEST(EditHistoryTest, RandomEditsUndoneToTheStartGiveTheSavedProgramBack) {
    // Keys, the Grid menu's commands, cursor moves and breakpoints in random order on a program
    // read from a file, saved once half way: undone to the start they give the program as read,
    // unchanged; redone, the last program, changed unless it is the saved one.
    const char* const keys[] = {"0", "2", "A", "L", "D", "#", "5", "\r", "\t", "\b", " ", "\x1b"};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Session s;
        s.workspace = app::testing::WorkspaceWith(
            {{"", "0200", "LDA", "#05"}, {"L", "0202", "STA", "0300"}, {"", "0205"}});
        s.workspace.caption = "Zorvan-p.zrv";
        s.workspace.filePath = "p.zrv";
        s.history.Reset(s.workspace);
        // Breakpoints set before the first change stay when it is undone.
        const std::string start = Program(s.workspace, Detail::kNoBreakpoints);
        std::string saved = Program(s.workspace, Detail::kAsSaved);
        for (int action = 0; action < 80; ++action) {
            const auto pick = random() % 10;
            if (pick == 0) s.Command(app::InsertLine);
            if (pick == 1) s.Command([](Workspace& w) { app::InsertLines(w, "2"); });
            if (pick == 2) s.Command(app::DeleteLine);
            if (pick == 3) s.Command(app::ClearGrid);
            if (pick == 4) s.workspace.grid.ToggleBreakpoint(s.workspace.grid.Row());
            if (pick == 5) s.workspace.grid.SetRow(int(random() % 6));
            if (pick > 5) s.Key(keys[random() % std::size(keys)]);
            if (action == 40) {
                s.workspace.changed = false;  // as a save leaves it
                s.Command([](Workspace&) {});
                saved = Program(s.workspace, Detail::kAsSaved);
            }
        }
        s.Command([](Workspace&) {});
        const std::string end = Program(s.workspace);
        const bool endChanged = Program(s.workspace, Detail::kAsSaved) != saved;
        while (s.history.Undo(s.workspace)) {
            EXPECT_EQ(s.workspace.changed, Program(s.workspace, Detail::kAsSaved) != saved);
        }
        EXPECT_EQ(Program(s.workspace, Detail::kNoBreakpoints), start);
        while (s.history.Redo(s.workspace)) continue;
        EXPECT_EQ(Program(s.workspace), end);
        EXPECT_EQ(s.workspace.changed, endChanged);
    }
}

TEST(EditHistoryTest, AnEditAfterUndoForgetsTheRedoAndASaveIsNoStep) {
    Session s;
    s.Type("0200\rNOP\r");
    s.history.Undo(s.workspace);
    EXPECT_TRUE(s.history.CanRedo());
    s.Type("BRK\r");
    EXPECT_FALSE(s.history.CanRedo());
    s.workspace.filePath = "p.zrv";  // saved
    s.workspace.changed = false;
    s.Command([](Workspace&) {});
    ASSERT_TRUE(s.history.Undo(s.workspace));
    EXPECT_EQ(s.workspace.grid.Cell(kInstructionColumn, 1), "") << "the save was not a step";
    EXPECT_TRUE(s.workspace.changed);
    ASSERT_TRUE(s.history.Redo(s.workspace));
    EXPECT_EQ(s.workspace.filePath, "p.zrv");
    EXPECT_FALSE(s.workspace.changed) << "redone to the saved program";
}

TEST(EditHistoryTest, ACellTypedAndUndoneInItsEditorIsPassedOver) {
    Session s;
    s.Type("0200\rLD");
    s.workspace.grid.SetCell(kInstructionColumn, 1, "");  // the editor's own undo
    s.history.Record(s.workspace, CellPosition{kInstructionColumn, 1}, false);
    ASSERT_TRUE(s.history.Undo(s.workspace));
    EXPECT_EQ(s.workspace.grid.Cell(kAddressColumn, 1), "") << "one Ctrl+Z shows a change";
}

}  // namespace
}  // namespace zorvan::grid
