#include "app/grid_keys.h"

#include <gtest/gtest.h>

#include "app/workspace.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using testing::WorkspaceWith;

TEST(GridKeys, EveryKeyDownSetsTheChangedFlagAndEnablesTheExecutionCommands) {
    for (int code : {kKeyShift, kKeyLeft, kKeyEnter, int{'A'}, kKeyF8}) {
        Workspace workspace;
        EXPECT_FALSE(workspace.changed);
        EXPECT_FALSE(workspace.executionEnabled);
        StringGrid1KeyDown(workspace, GridKey{code});
        EXPECT_TRUE(workspace.changed) << code;
        EXPECT_TRUE(workspace.executionEnabled) << code;
        EXPECT_EQ(workspace.grid.RowCount(), 2);
    }
}

TEST(GridKeys, EnterInTheCommentColumnOfTheLastRowAppendsARow) {
    struct Case {
        const char* name;
        std::vector<testing::Line> lines;
        int column;
        int row;
        int expectedRowCount;
    };
    const Case cases[] = {
        {"last row with a comment", {{"", "", "", "", "", "x"}}, kCommentColumn, 1, 3},
        {"last row with only a space", {{"", "", "", "", " ", ""}}, kCommentColumn, 1, 3},
        {"last row empty", {{"", "", "", "", "", ""}}, kCommentColumn, 1, 2},
        {"not the last row",
         {{"", "0200", "NOP", "", "", ""}, {"", "0201", "NOP", "", "", ""}},
         kCommentColumn,
         1,
         3},
        {"Enter in the second parameter", {{"", "0200", "", "", "", ""}}, 4, 1, 2},
        // Both columns 0 and 1 are tested: the label adds a row, then the new row's pre-filled
        // address adds another.
        {"label and pre-filled address", {{"L", "0200", "NOP", "", "", ""}}, kCommentColumn, 1, 4},
    };
    for (const Case& c : cases) {
        Workspace workspace = WorkspaceWith(c.lines);
        workspace.grid.SetCell(kAddressColumn, static_cast<int>(c.lines.size()) + 1, "0201");
        workspace.ShowDebuggerMessage("μήνυμα", c.column, 'r');
        workspace.grid.SetCurrent(c.column, c.row);
        StringGrid1KeyDown(workspace, GridKey{kKeyEnter});
        EXPECT_EQ(workspace.grid.RowCount(), c.expectedRowCount) << c.name;
        if (c.expectedRowCount > static_cast<int>(c.lines.size()) + 1) {
            EXPECT_EQ(workspace.grid.Col(), kInstructionColumn) << c.name;
            EXPECT_EQ(workspace.grid.Row(), c.expectedRowCount - 1) << c.name;
            EXPECT_EQ(workspace.message.text, "") << c.name;
            EXPECT_TRUE(workspace.message.memoEnabled) << c.name;
        } else {
            EXPECT_EQ(workspace.grid.Col(), c.column) << c.name;
            EXPECT_EQ(workspace.message.text, "μήνυμα") << c.name;
        }
    }
}

TEST(GridKeys, ArrowsAndTabMoveWithinTheDataRows) {
    struct Case {
        int column, row;
        GridKey key;
        int expectedColumn, expectedRow;
    };
    const Case cases[] = {
        {1, 1, {kKeyUp}, 1, 1},
        {1, 3, {kKeyDown}, 1, 3},
        {0, 2, {kKeyLeft}, 0, 2},
        {5, 2, {kKeyRight}, 5, 2},
        {2, 2, {kKeyDown}, 2, 3},
        {2, 2, {kKeyUp}, 2, 1},
        {4, 2, {kKeyTab}, 5, 2},
        {5, 2, {kKeyTab}, 0, 3},
        {5, 3, {kKeyTab}, 0, 1},
        {0, 2, {kKeyTab, true}, 5, 1},
        {0, 1, {kKeyTab, true}, 5, 3},
        {3, 2, {'A'}, 3, 2},
        {3, 2, {kKeyLeft, false, false, true}, 3, 2},
    };
    for (const Case& c : cases) {
        Workspace workspace = WorkspaceWith({{}, {}, {}});
        workspace.grid.SetCurrent(c.column, c.row);
        MoveByGridKey(workspace, c.key);
        EXPECT_EQ(workspace.grid.Col(), c.expectedColumn) << c.key.code << " " << c.column;
        EXPECT_EQ(workspace.grid.Row(), c.expectedRow) << c.key.code << " " << c.row;
    }
}

TEST(GridKeys, ExecutionShortcutsReachTheMenuOnlyWhenEnabled) {
    Workspace workspace;
    EXPECT_FALSE(IsMenuShortcut(workspace, {kKeyF8}));
    EXPECT_TRUE(IsMenuShortcut(workspace, {kKeyInsert}));
    EXPECT_TRUE(IsMenuShortcut(workspace, {kKeyDelete, true}));
    EXPECT_FALSE(IsMenuShortcut(workspace, {kKeyDelete}));
    EXPECT_TRUE(IsMenuShortcut(workspace, {kKeyK, false, true}));
    EXPECT_FALSE(IsMenuShortcut(workspace, {kKeyK}));
    workspace.executionEnabled = true;
    for (int code : {kKeyF8, kKeyF9, kKeyF10}) EXPECT_TRUE(IsMenuShortcut(workspace, {code}));
}

TEST(GridKeys, SpaceTypesOnlyInTheLabelAndCommentColumns) {
    struct Case {
        int column;
        const char* expected;
    };
    // The checks of columns 1 to 3 refuse "a" and keep it; only the Space is not typed.
    const Case cases[] = {{0, "a b"}, {5, "a b"}, {1, "0200ab"}, {2, "LDAab"}, {3, "ab"}};
    for (const Case& c : cases) {
        Workspace workspace = WorkspaceWith({{"", "0200", "LDA", "", "", ""}});
        workspace.grid.SetCol(c.column);
        TypeKey(workspace, {'A'}, U'a');
        workspace.grid.SetCol(c.column);  // a refused check may have moved the cursor
        TypeKey(workspace, {kKeySpace}, U' ');
        workspace.grid.SetCol(c.column);
        TypeKey(workspace, {'B'}, U'b');
        EXPECT_EQ(workspace.grid.Cell(c.column, 1), std::string(c.expected)) << c.column;
    }
}

TEST(GridKeys, BackspaceRemovesAWholeGreekCharacterAndForeignCharactersAreRefused) {
    Workspace workspace;
    workspace.grid.SetCol(kCommentColumn);
    TypeText(workspace, "αβ");
    TypeKey(workspace, {'A'}, U'中');  // outside the Greek code page: the editor takes nothing
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "αβ");
    TypeText(workspace, "\b");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "α");
    TypeText(workspace, "\b\b");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 1), "");
}

}  // namespace
}  // namespace zorvan::app
