#include "app/breakpoints.h"

#include <optional>

#include "text/hex_text.h"

namespace zorvan::app {
namespace {

std::optional<int> LineAddress(const grid::ProgramGrid& grid, int row) {
    const std::string& cell = grid.Cell(grid::kAddressColumn, row);
    if (cell.size() > 4) return std::nullopt;
    return text::ParseHex(cell);
}

}  // namespace

void ToggleBreakpoint(grid::Workspace& workspace) {
    ToggleBreakpoint(workspace, workspace.grid.Row());
}

void ToggleBreakpoint(grid::Workspace& workspace, int row) {
    if (!workspace.grid.HasBreakpoint(row) && !LineAddress(workspace.grid, row)) {
        workspace.ShowMessage(kBreakpointNeedsAddressNotice, workspace.grid.Col(),
                              grid::Tone::kNotice);
        return;
    }
    workspace.grid.ToggleBreakpoint(row);
}

cpu::AddressSet BreakpointAddresses(const grid::ProgramGrid& grid) {
    cpu::AddressSet addresses;
    for (int row : grid.BreakpointRows()) {
        if (row >= grid.RowCount()) break;
        if (const auto address = LineAddress(grid, row)) addresses.Add(*address);
    }
    return addresses;
}

int BreakpointRowAt(const grid::ProgramGrid& grid, int address) {
    for (int row : grid.BreakpointRows()) {
        if (row >= grid.RowCount()) break;
        if (LineAddress(grid, row) == address) return row;
    }
    return 0;
}

std::string BreakpointMessage(int row, int address) {
    return "Σημείο διακοπής στη γραμμή " + std::to_string(row) + ", διεύθυνση " +
           text::FormatHex4(address) + ".";
}

void ReportBreakpointStop(grid::Workspace& workspace, int address) {
    const int row = BreakpointRowAt(workspace.grid, address);
    workspace.ShowMessage(BreakpointMessage(row, address), workspace.grid.Col(),
                          grid::Tone::kNotice);
    if (row != 0) workspace.grid.SetRow(row);
}

}  // namespace zorvan::app
