#include "app/breakpoints.h"

#include <algorithm>
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

void BreakpointHits::SetEvery(int every) {
    every = std::clamp(every, 1, kMostPasses);
    if (every != every_) Reset();
    every_ = every;
}

bool BreakpointHits::StopsAt(int address) {
    int& passes = passes_[address];
    if (++passes < every_) return false;
    passes = 0;
    return true;
}

int BreakpointHits::Passes(int address) const {
    const auto found = passes_.find(address);
    return found == passes_.end() ? 0 : found->second;
}

std::string BreakpointMessage(int row, int address) {
    return "Σημείο διακοπής στη γραμμή " + std::to_string(row) + ", διεύθυνση " +
           text::FormatHex4(address) + ".";
}

std::string HitStopMessage(int every) {
    return "Στάση στο " + std::to_string(every) + "ο πέρασμα.";
}

void ReportBreakpointStop(grid::Workspace& workspace, int address) {
    const int row = BreakpointRowAt(workspace.grid, address);
    workspace.ShowMessage(BreakpointMessage(row, address), workspace.grid.Col(),
                          grid::Tone::kNotice);
    if (row != 0) workspace.grid.SetRow(row);
}

}  // namespace zorvan::app
