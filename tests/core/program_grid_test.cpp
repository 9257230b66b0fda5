#include "app/program_grid.h"

#include <gtest/gtest.h>

namespace zorvan::app {
namespace {

TEST(ProgramGrid, RowsLeavingTheTableKeepTheirCellsAndShowThemAgain) {
    ProgramGrid grid;
    grid.SetRowCount(6);
    grid.SetCell(kInstructionColumn, 5, "LDA");
    grid.SetCell(kAddressColumn, 9, "0210");  // beyond the table, as the line checker writes
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cell(kInstructionColumn, 5), "LDA");
    EXPECT_EQ(grid.Cell(kAddressColumn, 9), "0210");
    grid.SetRowCount(10);
    EXPECT_EQ(grid.Cell(kInstructionColumn, 5), "LDA");
    EXPECT_EQ(grid.Cell(kAddressColumn, 9), "0210");
    EXPECT_EQ(grid.Cell(kCommentColumn, 1000), "");
}

TEST(ProgramGrid, CurrentRowStaysInsideTheTable) {
    struct Case {
        int rowCount;
        int currentRow;
        int newRowCount;
        int expectedRow;
    };
    const Case cases[] = {
        {10, 9, 5, 4},  // shrinking below the cursor puts it on the last data row
        {10, 3, 5, 3},  // a cursor above the cut stays
        {10, 9, 2, 1},
        {10, 9, 1, 1},  // no data row left: the first data row, never the header
    };
    for (const Case& c : cases) {
        ProgramGrid grid;
        grid.SetRowCount(c.rowCount);
        grid.SetCurrent(kCommentColumn, c.currentRow);
        grid.SetRowCount(c.newRowCount);
        EXPECT_EQ(grid.Row(), c.expectedRow) << c.rowCount << " -> " << c.newRowCount;
        EXPECT_EQ(grid.Col(), kCommentColumn);
    }
}

TEST(ProgramGrid, ContentCountCoversDataRowsOnlyAndCountsASpace) {
    ProgramGrid grid;
    EXPECT_EQ(grid.ContentCount(), 0);  // the header captions are not content
    grid.SetCell(kCommentColumn, 1, " ");
    EXPECT_EQ(grid.ContentCount(), 1);
    grid.SetCell(kLabelColumn, 2, "LOOP");  // row 2 is beyond the table
    EXPECT_EQ(grid.ContentCount(), 1);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.ContentCount(), 2);
}

}  // namespace
}  // namespace zorvan::app
