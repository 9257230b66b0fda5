#include "app/grid_keys.h"

#include <gtest/gtest.h>

#include "app/workspace.h"
#include "editor_fixture.h"

namespace zorvan::app {
namespace {

using testing::WorkspaceWith;

TEST(GridKeys, EveryKeyDownSetsTheChangedFlagAndEnablesTheExecutionCommands) {
    for (int code : {kKeyShift, kKeyLeft, kKeyEnter, int{'A'}, kKeyF8}) {
        Workspace workspace;
        StringGrid1KeyDown(workspace, GridKey{code});
        EXPECT_TRUE(workspace.changed && workspace.executionEnabled) << code;
        EXPECT_EQ(workspace.grid.RowCount(), 2) << code;
    }
}

// Each column of the last row, tested in turn against the row count as it then is, may add a row:
// a label adds one, then the new row's pre-filled address ("0201" below) adds another.
TEST(GridKeys, EnterInTheCommentColumnOfTheLastRowAppendsARow) {
    const struct {
        const char* name;
        std::vector<testing::Line> lines;
        int column, expectedRowCount;
    } cases[] = {
        {"comment", {{"", "", "", "", "", "x"}}, kCommentColumn, 3},
        {"only a space", {{"", "", "", "", " ", ""}}, kCommentColumn, 3},
        {"empty", {{"", "", "", "", "", ""}}, kCommentColumn, 2},
        {"not last", {{"", "0200", "NOP", "", "", ""}, {}}, kCommentColumn, 3},
        {"second parameter", {{"", "0200", "", "", "", ""}}, kSecondParameterColumn, 2},
        {"label", {{"L", "0200", "NOP", "", "", ""}}, kCommentColumn, 4},
    };
    for (const auto& c : cases) {
        Workspace workspace = WorkspaceWith(c.lines);
        workspace.grid.SetCell(kAddressColumn, static_cast<int>(c.lines.size()) + 1, "0201");
        workspace.ShowDebuggerMessage("μήνυμα", c.column, 'r');
        workspace.grid.SetRow(1);
        StringGrid1KeyDown(workspace, GridKey{kKeyEnter});
        EXPECT_EQ(workspace.grid.RowCount(), c.expectedRowCount) << c.name;
        const bool appended = c.expectedRowCount > static_cast<int>(c.lines.size()) + 1;
        EXPECT_EQ(workspace.grid.Col(), appended ? kInstructionColumn : c.column) << c.name;
        EXPECT_EQ(workspace.grid.Row(), appended ? c.expectedRowCount - 1 : 1) << c.name;
        EXPECT_EQ(workspace.message.text, appended ? "" : "μήνυμα") << c.name;
        EXPECT_TRUE(workspace.message.memoEnabled) << c.name;
    }
}

TEST(GridKeys, ArrowsAndTabMoveWithinTheDataRows) {
    // {column, row, key code, shift, alt, expected column, expected row} in three data rows.
    const int cases[][7] = {
        {1, 1, kKeyUp, 0, 0, 1, 1},    {1, 3, kKeyDown, 0, 0, 1, 3}, {0, 2, kKeyLeft, 0, 0, 0, 2},
        {5, 2, kKeyRight, 0, 0, 5, 2}, {2, 2, kKeyDown, 0, 0, 2, 3}, {2, 2, kKeyUp, 0, 0, 2, 1},
        {4, 2, kKeyTab, 0, 0, 5, 2},   {5, 2, kKeyTab, 0, 0, 0, 3},  {5, 3, kKeyTab, 0, 0, 0, 1},
        {0, 2, kKeyTab, 1, 0, 5, 1},   {0, 1, kKeyTab, 1, 0, 5, 3},  {3, 2, 'A', 0, 0, 3, 2},
        {3, 2, kKeyLeft, 0, 1, 3, 2}};
    for (const auto& c : cases) {
        Workspace workspace = WorkspaceWith({{}, {}, {}});
        workspace.grid.SetCurrent(c[0], c[1]);
        MoveByGridKey(workspace, {c[2], c[3] != 0, false, c[4] != 0});
        EXPECT_EQ(workspace.grid.Col(), c[5]) << c[2] << " from " << c[0] << "," << c[1];
        EXPECT_EQ(workspace.grid.Row(), c[6]) << c[2] << " from " << c[0] << "," << c[1];
    }
}

TEST(GridKeys, ExecutionShortcutsReachTheMenuOnlyWhenEnabled) {
    const std::pair<GridKey, bool> cases[] = {
        {{kKeyF8}, false},     {{kKeyInsert}, true}, {{kKeyDelete, true}, true},
        {{kKeyDelete}, false}, {{kKeyK}, false},     {{kKeyK, false, true}, true},
    };
    Workspace workspace;
    for (const auto& [key, shortcut] : cases) {
        EXPECT_EQ(IsMenuShortcut(workspace, key), shortcut) << key.code;
    }
    workspace.executionEnabled = true;
    for (int code : {kKeyF8, kKeyF9, kKeyF10}) EXPECT_TRUE(IsMenuShortcut(workspace, {code}));
}

TEST(GridKeys, SpaceTypesOnlyInTheLabelAndCommentColumns) {
    // The checks of columns 1 to 3 refuse "a" and keep it; only the Space is not typed.
    const std::pair<int, const char*> cases[] = {
        {0, "a b"}, {5, "a b"}, {1, "0200ab"}, {2, "LDAab"}, {3, "ab"}};
    for (const auto& [column, expected] : cases) {
        Workspace workspace = WorkspaceWith({{"", "0200", "LDA", "", "", ""}});
        for (char32_t character : {U'a', U' ', U'b'}) {
            workspace.grid.SetCol(column);  // a refused check may have moved the cursor
            TypeKey(workspace, {character == U' ' ? kKeySpace : int{'A'}}, character);
        }
        EXPECT_EQ(workspace.grid.Cell(column, 1), std::string(expected)) << column;
    }
}

TEST(GridKeys, BackspaceRemovesAWholeGreekCharacterAndForeignCharactersAreRefused) {
    Workspace workspace;
    workspace.grid.SetCol(kCommentColumn);
    TypeText(workspace, "αβ");
    TypeKey(workspace, {'A'}, U'中');  // outside the Greek code page: the editor takes nothing
    TypeText(workspace, "\b");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "α");
    TypeText(workspace, "\b\b");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "");
}

}  // namespace
}  // namespace zorvan::app
