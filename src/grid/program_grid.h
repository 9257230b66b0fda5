#pragma once
// The program grid: the program's document, one program line per row in six text columns.
// Row 0 is the header; rows 1 to RowCount()-1 are the data rows. Storage is independent of the
// row count: a cell keeps its text at any row whatever the row count, and a row that leaves the
// table shows its cells again when the table grows back over it.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "grid/program_lines.h"

namespace zorvan::grid {

enum GridColumn : int {
    kLabelColumn = 0,
    kAddressColumn = 1,
    kInstructionColumn = 2,
    kFirstParameterColumn = 3,
    kSecondParameterColumn = 4,
    kCommentColumn = 5,
};
inline constexpr int kGridColumnCount = 6;

class ProgramGrid final : public ProgramLines {
  public:
    ProgramGrid();

    // Any row 0 or more; a cell that was never written reads as "".
    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);
    void ClearRow(int row);
    std::string_view Text(int column, int row) const override { return Cell(column, row); }

    int RowCount() const override { return rowCount_; }
    // Changing the row count never changes a stored text. The current row follows into the table.
    void SetRowCount(int rowCount);
    int LastRow() const { return rowCount_ - 1; }

    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int column);
    void SetRow(int row);
    void SetCurrent(int column, int row);

    // Non-empty cells in all six columns of the data rows.
    int ContentCount() const;

    // Rows that hold stored cells, from 0: beyond it every cell reads "".
    int StoredRowCount() const { return static_cast<int>(rows_.size()); }

    // A number that changes whenever a cell's text or the row count changes, and never comes
    // back to an earlier value, even in another grid: two grids with the same revision hold the
    // same program (one is a copy of the other). Moving the cursor or a breakpoint keeps it.
    std::uint64_t Revision() const { return revision_; }

    // Breakpoints belong to lines, not to addresses: the line editing commands move them with
    // their rows, each with its count. They are never written to a program file.
    bool HasBreakpoint(int row) const { return breakpoints_.count(row) != 0; }
    // Only data rows carry one; a new one stops at every pass.
    void SetBreakpoint(int row, bool on);
    void ToggleBreakpoint(int row) { SetBreakpoint(row, !HasBreakpoint(row)); }
    std::vector<int> BreakpointRows() const;
    // Each breakpoint's row and its count.
    const std::map<int, int>& Breakpoints() const { return breakpoints_; }
    // The breakpoint of row stops on its every-th pass (1, and for a row without one: every).
    int BreakpointEvery(int row) const;
    // Only a row with a breakpoint takes a count; less than 1 is 1.
    void SetBreakpointEvery(int row, int every);
    void ClearBreakpoints() { breakpoints_.clear(); }
    // A row opened at row: the breakpoints of that row and below move down one.
    void OpenBreakpointRow(int row);
    // The row removed: its breakpoint goes, the ones below move up one.
    void CloseBreakpointRow(int row);
    // Breakpoints on rows from row on go (rows removed from the end).
    void DropBreakpointsFrom(int row);

  private:
    using RowCells = std::array<std::string, kGridColumnCount>;
    std::vector<RowCells> rows_;
    std::map<int, int> breakpoints_;  // row -> every
    void Revise();

    std::uint64_t revision_ = 0;
    int rowCount_ = 2;
    int col_ = kAddressColumn;
    int row_ = 1;
};

}  // namespace zorvan::grid
