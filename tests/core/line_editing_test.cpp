#include "app/line_editing.h"

#include <gtest/gtest.h>

#include "app/workspace.h"
#include "editor_fixture.h"
#include "text/conversion_error.h"

namespace zorvan::app {
namespace {

using testing::AddressColumn;
using testing::WorkspaceWith;

Workspace ThreeLines() {
    return WorkspaceWith({
        {"START", "0200", "LDA", "#05", "", ""},
        {"", "0202", "STA", "0300", "", ""},
        {"", "0205", "BRK", "", "", "τέλος"},
    });
}

TEST(LineEditing, InsertLineOpensAnEmptyLineThatTakesTheMovedLinesAddress) {
    for (int row : {1, 3}) {
        Workspace workspace = ThreeLines();
        const testing::Line moved = {workspace.grid.Cell(0, row), "",
                                     workspace.grid.Cell(2, row), workspace.grid.Cell(3, row),
                                     workspace.grid.Cell(4, row), workspace.grid.Cell(5, row)};
        const std::string address = workspace.grid.Cell(kAddressColumn, row);
        workspace.grid.SetCurrent(kCommentColumn, row);
        InsertLine(workspace);
        EXPECT_EQ(workspace.grid.RowCount(), 5);
        EXPECT_EQ(workspace.grid.Col(), kInstructionColumn);
        EXPECT_EQ(workspace.grid.Row(), row);
        for (int column = 0; column < kGridColumnCount; ++column) {
            EXPECT_EQ(workspace.grid.Cell(column, row), column == kAddressColumn ? address : "");
            EXPECT_EQ(workspace.grid.Cell(column, row + 1), moved[static_cast<size_t>(column)])
                << row << " " << column;
        }
    }
}

TEST(LineEditing, InsertLinesAppendsAtTheEndAndEmptiesRowsUpToNineteen) {
    struct Case {
        const char* count;
        int rowCount;
        int currentRow;
        int expectedRowCount;
        int expectedRow;
    };
    const Case cases[] = {
        {"3", 5, 2, 8, 2},   {"0", 5, 4, 5, 4},
        {"-2", 5, 4, 3, 2},  {"-5", 5, 4, 2, 1},  // never fewer than one data row
        {"-99", 3, 1, 2, 1}, {"+1", 2, 1, 3, 1},
    };
    for (const Case& c : cases) {
        Workspace workspace;
        workspace.grid.SetRowCount(c.rowCount);
        for (int row = 1; row <= 21; ++row) workspace.grid.SetCell(kCommentColumn, row, "x");
        workspace.grid.SetCurrent(kLabelColumn, c.currentRow);
        InsertLines(workspace, c.count);
        EXPECT_EQ(workspace.grid.RowCount(), c.expectedRowCount) << c.count;
        EXPECT_EQ(workspace.grid.Row(), c.expectedRow) << c.count;
        EXPECT_EQ(workspace.grid.Col(), kLabelColumn);
        for (int row = 1; row <= 21; ++row) {
            const bool emptied = row >= c.rowCount && row <= 19;
            EXPECT_EQ(workspace.grid.Cell(kCommentColumn, row), emptied ? "" : "x")
                << c.count << " row " << row;
        }
    }
}

TEST(LineEditing, InsertLinesWithATextThatIsNoNumberChangesNothing) {
    for (const char* text : {"", "abc", "1.5"}) {
        Workspace workspace;
        workspace.grid.SetCell(kCommentColumn, 5, "x");
        EXPECT_THROW(InsertLines(workspace, text), text::ConversionError) << text;
        EXPECT_EQ(workspace.grid.RowCount(), 2);
        EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 5), "x");
    }
}

TEST(LineEditing, DeleteLineOnTheOnlyRowEmptiesItAndBeeps) {
    Workspace workspace = WorkspaceWith({{"L", "0200", "NOP", "", "", "c"}});
    EXPECT_EQ(DeleteLine(workspace), DeleteLineResult::kEmptiedOnlyRowAndBeep);
    EXPECT_EQ(workspace.grid.RowCount(), 2);
    EXPECT_EQ(workspace.grid.ContentCount(), 0);
}

TEST(LineEditing, DeleteLineMovesRowsUpAndRecomputesFromTheLineAbove) {
    struct Case {
        int row;
        std::vector<std::string> addresses;  // rows 1 to 4 afterwards
        int expectedRow;
    };
    const Case cases[] = {
        // The first line has the header above it: no recomputation, stale addresses stay.
        {1, {"0202", "0205", "", ""}, 1},
        {2, {"0200", "0202", "0203", ""}, 2},
        // The last line: the cursor follows onto the new last line.
        {3, {"0200", "0202", "0205", ""}, 2},
    };
    for (const Case& c : cases) {
        Workspace workspace = ThreeLines();
        workspace.grid.SetCurrent(kCommentColumn, c.row);
        EXPECT_EQ(DeleteLine(workspace), DeleteLineResult::kDeleted);
        EXPECT_EQ(workspace.grid.RowCount(), 3) << c.row;
        EXPECT_EQ(AddressColumn(workspace, 1, 4), c.addresses) << c.row;
        EXPECT_EQ(workspace.grid.Row(), c.expectedRow) << c.row;
        EXPECT_EQ(workspace.grid.Col(), kCommentColumn) << c.row;
    }
}

TEST(LineEditing, DeleteLineTakesTheStoredRowJustBeyondTheTable) {
    Workspace workspace = ThreeLines();
    workspace.grid.SetCell(kAddressColumn, 4, "0206");  // pre-filled by the line checker
    workspace.grid.SetRow(1);  // the first line: no recomputation overwrites what moved up
    DeleteLine(workspace);
    EXPECT_EQ(workspace.grid.RowCount(), 3);
    EXPECT_EQ(AddressColumn(workspace, 1, 3), (std::vector<std::string>{"0202", "0205", "0206"}));
}

TEST(LineEditing, DeleteLineBelowALineWithoutAddressFailsAfterDeleting) {
    Workspace workspace = ThreeLines();
    workspace.grid.SetCell(kAddressColumn, 1, "");
    workspace.grid.SetRow(2);
    EXPECT_THROW(DeleteLine(workspace), text::ConversionError);
    EXPECT_EQ(workspace.grid.RowCount(), 3);
    EXPECT_EQ(workspace.grid.Cell(kInstructionColumn, 2), "BRK");
    EXPECT_EQ(workspace.grid.Row(), 1);  // left on the line above
}

TEST(LineEditing, AGridWithoutDataRowsKeepsItsHeaderAndGetsALineBack) {
    Workspace workspace;  // as after opening a file without a complete row
    workspace.grid.SetRowCount(1);
    EXPECT_EQ(DeleteLine(workspace), DeleteLineResult::kEmptiedOnlyRowAndBeep);
    EXPECT_EQ(workspace.grid.RowCount(), 1);
    InsertLines(workspace, "-1");
    EXPECT_EQ(workspace.grid.RowCount(), 1);
    InsertLine(workspace);
    EXPECT_EQ(workspace.grid.RowCount(), 2);
    EXPECT_EQ(workspace.grid.Row(), 1);
    EXPECT_EQ(workspace.grid.Cell(kAddressColumn, 0), "Διευθύνσεις");
}

TEST(LineEditing, ClearGridLeavesOneEmptyLineAndGreysTheMessageArea) {
    Workspace workspace = ThreeLines();
    workspace.grid.SetCell(kCommentColumn, 7, "hidden");
    workspace.grid.SetCurrent(kCommentColumn, 3);
    workspace.caption = "Zorvan - prog.zrv";
    workspace.ShowDebuggerMessage("μήνυμα", 3, 'b');
    workspace.changed = true;
    workspace.executionEnabled = true;
    ClearGrid(workspace);
    EXPECT_EQ(workspace.grid.RowCount(), 2);
    EXPECT_EQ(workspace.grid.ContentCount(), 0);
    EXPECT_EQ(workspace.grid.Cell(kInstructionColumn, 3), "");
    EXPECT_EQ(workspace.grid.Cell(kCommentColumn, 7), "hidden");
    EXPECT_EQ(workspace.grid.Col(), kAddressColumn);
    EXPECT_EQ(workspace.grid.Row(), 1);
    EXPECT_EQ(workspace.caption, "Zorvan");
    EXPECT_EQ(workspace.message.text, "");
    EXPECT_FALSE(workspace.message.labelEnabled);
    EXPECT_FALSE(workspace.message.memoEnabled);
    EXPECT_TRUE(workspace.changed);
    EXPECT_TRUE(workspace.executionEnabled);
}

}  // namespace
}  // namespace zorvan::app
