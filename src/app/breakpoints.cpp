#include "app/breakpoints.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

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

void BreakpointHits::Follow(const grid::ProgramGrid& grid) {
    std::map<int, int> every;
    for (const auto& [row, count] : grid.Breakpoints()) {
        if (row >= grid.RowCount()) break;
        if (const auto address = LineAddress(grid, row))
            every.try_emplace(*address, std::clamp(count, 1, kMostPasses));
    }
    for (auto passes = passes_.begin(); passes != passes_.end();) {
        const auto now = every.find(passes->first);
        const bool same = now != every.end() && now->second == EveryAt(passes->first);
        passes = same ? std::next(passes) : passes_.erase(passes);
    }
    every_ = std::move(every);
}

int BreakpointHits::EveryAt(int address) const {
    const auto found = every_.find(address);
    return found == every_.end() ? 1 : found->second;
}

bool BreakpointHits::Counting() const {
    return std::any_of(every_.begin(), every_.end(),
                       [](const auto& breakpoint) { return breakpoint.second > 1; });
}

void BreakpointHits::BeginRunAt(int start) {
    if (start != lastStop_) Reset();
    lastStop_ = -1;
}

bool BreakpointHits::StopsAt(int address) {
    int& passes = passes_[address];
    if (++passes < EveryAt(address)) return false;
    passes = 0;
    lastStop_ = address;
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

std::string BreakpointCountCaption(const grid::ProgramGrid& grid) {
    if (!grid.HasBreakpoint(grid.Row())) return "Σημείο διακοπής: όχι σε αυτή τη γραμμή";
    return "Σημείο διακοπής γραμμής " + std::to_string(grid.Row()) + ": διακοπή μετά από";
}

void ReportBreakpointStop(grid::Workspace& workspace, int address, int every) {
    const int row = BreakpointRowAt(workspace.grid, address);
    std::string message = BreakpointMessage(row, address);
    if (every > 1) message += " " + HitStopMessage(every);
    workspace.ShowMessage(message, workspace.grid.Col(), grid::Tone::kNotice);
    if (row != 0) workspace.grid.SetRow(row);
}

}  // namespace zorvan::app
