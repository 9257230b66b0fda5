#include "app/line_editing.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "asm/line_checker.h"
#include "grid/edit_history.h"
#include "grid/program_grid.h"
#include "grid/workspace.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

// Rows up to this one are emptied when lines are appended, so that no earlier text lingers in the
// rows that join the table.
inline constexpr int kLastRowEmptiedOnInsert = 19;

void CopyRow(grid::ProgramGrid& grid, int from, int to) {
    for (int column = 0; column < grid::kGridColumnCount; ++column) {
        grid.SetCell(column, to, grid.Cell(column, from));
    }
}

// What the program holds: the row count and every cell of the data rows.
struct ProgramShape {
    int rowCount;
    int contentCount;
    std::size_t cellsHash;
};

ProgramShape ShapeOf(const grid::ProgramGrid& grid) {
    std::size_t hash = 0;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid::kGridColumnCount; ++column) {
            hash = hash * 1000003u ^ std::hash<std::string>{}(grid.Cell(column, row));
        }
    }
    return {grid.RowCount(), grid.ContentCount(), hash};
}

// Sets the changed flag when the command changed the row count or a cell of the table.
class MarkIfChanged {
  public:
    explicit MarkIfChanged(grid::Workspace& workspace)
        : workspace_(workspace), before_(ShapeOf(workspace.grid)) {}
    ~MarkIfChanged() {
        const ProgramShape after = ShapeOf(workspace_.grid);
        if (after.rowCount != before_.rowCount || after.contentCount != before_.contentCount ||
            after.cellsHash != before_.cellsHash) {
            workspace_.changed = true;
        }
    }
    MarkIfChanged(const MarkIfChanged&) = delete;
    MarkIfChanged& operator=(const MarkIfChanged&) = delete;

  private:
    grid::Workspace& workspace_;
    ProgramShape before_;
};

}  // namespace

void InsertLine(grid::Workspace& workspace) {
    const MarkIfChanged mark(workspace);
    grid::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    const int oldLastRow = grid.LastRow();
    grid.SetRowCount(grid.RowCount() + 1);
    for (int target = oldLastRow + 1; target > row; --target) CopyRow(grid, target - 1, target);
    grid.OpenBreakpointRow(row);
    grid.ClearRow(row);
    // The new line stands where the moved line stood; the moved line's address is recomputed as
    // the new line is filled in.
    grid.SetCell(grid::kAddressColumn, row, grid.Cell(grid::kAddressColumn, row + 1));
    grid.SetCell(grid::kAddressColumn, row + 1, {});
    grid.SetCurrent(grid::kInstructionColumn, row);
}

void InsertLines(grid::Workspace& workspace, std::string_view countText) {
    const std::int64_t count = text::IntegerTextToInt(countText);
    const MarkIfChanged mark(workspace);
    grid::ProgramGrid& grid = workspace.grid;
    const int oldRowCount = grid.RowCount();
    std::int64_t rowCount = oldRowCount + count;
    // Removing rows stops at one data row (or at what there is when there is less).
    if (count < 0) rowCount = std::max<std::int64_t>(rowCount, std::min(oldRowCount, 2));
    rowCount = std::min<std::int64_t>(rowCount, std::numeric_limits<int>::max());
    grid.SetRowCount(static_cast<int>(rowCount));
    grid.DropBreakpointsFrom(grid.RowCount());
    for (int row = oldRowCount; row <= kLastRowEmptiedOnInsert; ++row) grid.ClearRow(row);
}

DeleteLineResult DeleteLine(grid::Workspace& workspace) {
    const MarkIfChanged mark(workspace);
    grid::ProgramGrid& grid = workspace.grid;
    if (grid.RowCount() <= 2) {
        grid.ClearRow(1);
        grid.SetBreakpoint(1, false);
        return DeleteLineResult::kEmptiedOnlyRowAndBeep;
    }
    // Each row below takes the one after it; the last data row takes the stored cells of the row
    // just beyond the table.
    for (int row = grid.Row(); row < grid.RowCount(); ++row) CopyRow(grid, row + 1, row);
    grid.CloseBreakpointRow(grid.Row());
    grid.SetRowCount(grid.RowCount() - 1);

    const int row = grid.Row();
    // For the first line the cell above is the header caption, which is not an address.
    if (text::IsHexText(grid.Cell(grid::kAddressColumn, row - 1))) {
        grid.SetRow(row - 1);
        assembler::RecomputeAddresses(workspace);
        grid.SetRow(row);
    }
    return DeleteLineResult::kDeleted;
}

void ClearGrid(grid::Workspace& workspace) {
    const MarkIfChanged mark(workspace);
    grid::ProgramGrid& grid = workspace.grid;
    for (int row = 1; row < grid.RowCount(); ++row) grid.ClearRow(row);
    grid.SetRowCount(2);
    grid.ClearBreakpoints();
    grid.SetCurrent(grid::kAddressColumn, 1);
    workspace.caption = grid::kApplicationTitle;
    workspace.filePath.clear();
    workspace.ClearMessage();
    workspace.message.headingEnabled = false;
    workspace.message.textEnabled = false;
}

void ClearGridCommand(grid::Workspace& workspace) {
    const std::uint64_t before = workspace.grid.Revision();
    ClearGrid(workspace);
    if (workspace.grid.Revision() != before) {
        workspace.ShowMessage(kGridClearedNotice, workspace.grid.Col(), grid::Tone::kNotice);
    }
}

bool UndoOrRedo(grid::EditHistory& history, grid::Workspace& workspace, bool undo) {
    history.NoteCursor(workspace);
    if (!(undo ? history.Undo(workspace) : history.Redo(workspace))) return false;
    if (workspace.message.text == kGridClearedNotice) workspace.ClearMessage();
    return true;
}

}  // namespace zorvan::app
