#include "grid/program_grid.h"

#include <gtest/gtest.h>

namespace zorvan::app {
namespace {

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
        EXPECT_EQ(grid.Row(), c[2]) << c[0] << " -> " << c[1];
        EXPECT_EQ(grid.Col(), grid::kCommentColumn);
    }
}

}  // namespace
}  // namespace zorvan::app
