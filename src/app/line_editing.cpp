#include "app/line_editing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/program_grid.h"
#include "app/workspace.h"
#include "asm/line_checker.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

// Rows up to this one are emptied when lines are appended, so that no earlier text lingers in the
// rows that join the table.
inline constexpr int kLastRowEmptiedOnInsert = 19;

void CopyRow(ProgramGrid& grid, int from, int to) {
    for (int column = 0; column < kGridColumnCount; ++column) {
        grid.SetCell(column, to, grid.Cell(column, from));
    }
}

}  // namespace

void InsertLine(Workspace& workspace) {
    ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    const int oldLastRow = grid.LastRow();
    grid.SetRowCount(grid.RowCount() + 1);
    for (int target = oldLastRow + 1; target > row; --target) CopyRow(grid, target - 1, target);
    grid.ClearRow(row);
    // The new line stands where the moved line stood; the moved line's address is recomputed as
    // the new line is filled in.
    grid.SetCell(kAddressColumn, row, grid.Cell(kAddressColumn, row + 1));
    grid.SetCell(kAddressColumn, row + 1, {});
    grid.SetCurrent(kInstructionColumn, row);
}

void InsertLines(Workspace& workspace, std::string_view countText) {
    const std::int64_t count = text::DecimalTextToInt(countText);
    ProgramGrid& grid = workspace.grid;
    const int oldRowCount = grid.RowCount();
    std::int64_t rowCount = oldRowCount + count;
    // Removing rows stops at one data row (or at what there is when there is less).
    if (count < 0) rowCount = std::max<std::int64_t>(rowCount, std::min(oldRowCount, 2));
    rowCount = std::min<std::int64_t>(rowCount, std::numeric_limits<int>::max());
    grid.SetRowCount(static_cast<int>(rowCount));
    for (int row = oldRowCount; row <= kLastRowEmptiedOnInsert; ++row) grid.ClearRow(row);
}

DeleteLineResult DeleteLine(Workspace& workspace) {
    ProgramGrid& grid = workspace.grid;
    if (grid.RowCount() <= 2) {
        grid.ClearRow(1);
        return DeleteLineResult::kEmptiedOnlyRowAndBeep;
    }
    // Each row below takes the one after it; the last data row takes the stored cells of the row
    // just beyond the table.
    for (int row = grid.Row(); row < grid.RowCount(); ++row) CopyRow(grid, row + 1, row);
    grid.SetRowCount(grid.RowCount() - 1);

    const int row = grid.Row();
    // For the first line the cell above is the header caption, which is not an address.
    if (text::IsHexText(grid.Cell(kAddressColumn, row - 1))) {
        grid.SetRow(row - 1);
        assembler::RecomputeAddresses(workspace);
        grid.SetRow(row);
    }
    return DeleteLineResult::kDeleted;
}

void ClearGrid(Workspace& workspace) {
    ProgramGrid& grid = workspace.grid;
    for (int row = 1; row < grid.RowCount(); ++row) grid.ClearRow(row);
    grid.SetRowCount(2);
    grid.SetCurrent(kAddressColumn, 1);
    workspace.caption = kApplicationTitle;
    workspace.ClearMessage();
    workspace.message.labelEnabled = false;
    workspace.message.memoEnabled = false;
}

}  // namespace zorvan::app
