#include "app/grid_keys.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "editor_fixture.h"
#include "grid/program_grid.h"
#include "grid/workspace.h"

namespace zorvan::app {
namespace {

using namespace testing;

// Each column of the last row, tested in turn against the row count as it then is, may add a row:
// a label adds one, then the new row's pre-filled address ("0201" below) adds another.
TEST(GridKeys, EnterInTheCommentColumnOfTheLastRowAppendsARow) {
    // clang-format off
    const struct { const char* name; std::vector<Line> lines; int column; const char* cursor; const char* message; } cases[] = {
        {"only a space", {{"", "", "", "", " ", ""}}, grid::kCommentColumn, "2,2/3", ""},
        {"empty", {{"", "", "", "", "", ""}}, grid::kCommentColumn, "5,1/2", "μήνυμα"},
        {"not last", {{"", "0200", "NOP", "", "", ""}, {}}, grid::kCommentColumn, "5,1/3", "μήνυμα"},
        {"second parameter", {{"", "0200", "", "", "", ""}}, grid::kSecondParameterColumn, "4,1/2", "μήνυμα"},
        {"label", {{"L", "0200", "NOP", "", "", ""}}, grid::kCommentColumn, "2,3/4", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace = WorkspaceWith(c.lines);
        workspace.grid.SetCell(grid::kAddressColumn, static_cast<int>(c.lines.size()) + 1, "0201");
        workspace.ShowMessage("μήνυμα", c.column, grid::Tone::kError);
        GridKeyDown(workspace, GridKey{kKeyEnter});
        EXPECT_EQ(Cursor(workspace), c.cursor) << c.name;
        EXPECT_EQ(workspace.message.text, c.message) << c.name;
        EXPECT_TRUE(workspace.changed && workspace.executionEnabled) << c.name;  // as for any key
    }
}

TEST(GridKeys, ArrowsAndTabMoveWithinTheDataRows) {
    // {column, row, key code, shift, alt, expected column, expected row} in three data rows.
    // clang-format off
    const int cases[][7] = {  // the borders; moves and Tab; Shift+Tab and keys that do not move
        {1, 1, kKeyUp, 0, 0, 1, 1}, {1, 3, kKeyDown, 0, 0, 1, 3}, {0, 2, kKeyLeft, 0, 0, 0, 2}, {5, 2, kKeyRight, 0, 0, 5, 2},
        {2, 2, kKeyDown, 0, 0, 2, 3}, {2, 2, kKeyUp, 0, 0, 2, 1}, {4, 2, kKeyTab, 0, 0, 5, 2}, {5, 2, kKeyTab, 0, 0, 0, 3}, {5, 3, kKeyTab, 0, 0, 0, 1},
        {0, 2, kKeyTab, 1, 0, 5, 1}, {0, 1, kKeyTab, 1, 0, 5, 3}, {3, 2, 'A', 0, 0, 3, 2}, {3, 2, kKeyLeft, 0, 1, 3, 2}};
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace = WorkspaceWith({{}, {}, {}});
        workspace.grid.SetCurrent(c[0], c[1]);
        MoveByGridKey(workspace, {c[2], c[3] != 0, false, c[4] != 0});
        EXPECT_EQ(Cursor(workspace), std::to_string(c[5]) + "," + std::to_string(c[6]) + "/4")
            << c[2] << " from " << c[0] << "," << c[1];
    }
}

TEST(GridKeys, ExecutionShortcutsReachTheMenuOnlyWhenEnabled) {
    // clang-format off
    const std::tuple<GridKey, bool, bool> cases[] = {  // key, execution enabled, taken by the menu
        {{kKeyF8}, false, false}, {{kKeyInsert}, false, true}, {{kKeyDelete, true}, false, true},
        {{kKeyDelete}, false, false}, {{kKeyK}, false, false}, {{kKeyK, false, true}, false, true},
        {{kKeyF8}, true, true}, {{kKeyF9}, true, true}, {{kKeyF10}, true, true},
    };
    // clang-format on
    for (const auto& [key, enabled, shortcut] : cases) {
        grid::Workspace workspace;
        workspace.executionEnabled = enabled;
        EXPECT_EQ(IsMenuShortcut(workspace, key), shortcut) << key.code;
    }
}

// Space types only in the label and comment columns; the checks of columns 1 to 3 refuse "a" and
// keep it. A character outside the Greek code page is refused; Backspace takes a whole character.
TEST(GridKeys, TypingPutsTheCharactersTheEditorTakesIntoTheCell) {
    // clang-format off
    const std::tuple<int, const char*, const char*> cases[] = {  // column, keys, the cell afterwards
        {0, "a b", "a b"}, {5, "a b", "a b"}, {1, "a b", "0200ab"}, {2, "a b", "LDAab"}, {3, "a b", "ab"},
        {5, "αβ中\b", "α"}, {5, "αβ\b\b\b", ""},
    };
    // clang-format on
    for (const auto& [column, keys, expected] : cases) {
        grid::Workspace workspace = WorkspaceWith({{"", "0200", "LDA", "", "", ""}});
        workspace.grid.SetCol(column);
        TypeText(workspace, keys);
        EXPECT_EQ(workspace.grid.Cell(column, 1), expected) << column << keys;
    }
}

TEST(ProgramGrid, RowsLeavingTheTableKeepTheirCellsButAreNotContent) {
    grid::ProgramGrid grid;
    EXPECT_EQ(grid.ContentCount(), 0);  // the header captions are not content
    grid.SetCell(grid::kCommentColumn, 1, " ");
    grid.SetCell(grid::kAddressColumn, 9, "0210");  // beyond the table, as the line checker writes
    EXPECT_EQ(grid.ContentCount(), 1);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.ContentCount(), 2);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cell(grid::kAddressColumn, 9), "0210");
    EXPECT_EQ(grid.Cell(grid::kCommentColumn, 1000), "");
}

TEST(ProgramGrid, CurrentRowStaysInsideTheTable) {
    // {current row, new row count, expected row}, from 10 rows; never the header row.
    const int cases[][3] = {{9, 5, 4}, {3, 5, 3}, {9, 2, 1}, {9, 1, 1}};
    for (const auto& c : cases) {
        grid::ProgramGrid grid;
        grid.SetRowCount(10);
        grid.SetCurrent(grid::kCommentColumn, c[0]);
        grid.SetRowCount(c[1]);
        EXPECT_EQ(std::pair(grid.Row(), grid.Col()), std::pair(c[2], int(grid::kCommentColumn)))
            << c[0] << " -> " << c[1];
    }
}

// The cell editor's caret inside the text: a character goes where it stands or replaces the
// selection, Backspace and Delete take the character before or after it; a key that moves the
// cursor types into the next cell at its end, as the editor does there.
TEST(GridKeys, TheEditorTypesWhereItsCaretStands) {
    // clang-format off
    const struct {
        const char* comment; EditorSelection at; int code; char32_t character;
        const char* after; std::optional<int> caret;
    } cases[] = {
        {"αβγ", {1, 1}, 'X', U'X', "αXβγ", 2},
        {"αβγ", {0, 2}, 'X', U'X', "Xγ", 1},
        {"αβγ", {1, 1}, kKeyBackspace, U'\b', "βγ", 0},
        {"αβγ", {0, 0}, kKeyBackspace, U'\b', "αβγ", std::nullopt},
        {"αβγ", {1, 1}, kKeyDelete, 0, "αγ", 1},
        {"αβγ", {3, 3}, kKeyDelete, 0, "αβγ", std::nullopt},
        {"αβγ", {1, 3}, kKeyDelete, 0, "α", 1},
        {"αβγ", {9, 9}, 'X', U'X', "αβγX", 4},  // a caret past the end stands at the end
        {"αβγ", {1, 1}, kKeyEnter, U'\r', "αβγ", std::nullopt},
    };
    // clang-format on
    for (const auto& c : cases) {
        grid::Workspace workspace;
        workspace.grid.SetCell(grid::kCommentColumn, 1, c.comment);
        workspace.grid.SetCurrent(grid::kCommentColumn, 1);
        const std::optional<int> caret = TypeKey(workspace, {c.code}, c.character, c.at);
        EXPECT_EQ(workspace.grid.Cell(grid::kCommentColumn, 1), c.after) << c.after;
        EXPECT_EQ(caret, c.caret) << c.after;
    }
    // Tab moves on: the character after it goes to the end of the next cell, whatever the caret.
    grid::Workspace workspace;
    workspace.grid.SetCell(grid::kLabelColumn, 1, "ΑΒ");
    workspace.grid.SetCurrent(grid::kLabelColumn, 1);
    EXPECT_EQ(TypeKey(workspace, {kKeyTab}, U'\t', EditorSelection{0, 0}), std::nullopt);
    EXPECT_EQ(workspace.grid.Col(), grid::kAddressColumn);
}

}  // namespace
}  // namespace zorvan::app
