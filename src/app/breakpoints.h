#pragma once
// Breakpoints on program lines: toggled on the grid's current line, turned into the addresses a
// run stops at, and reported when a run stops at one.

#include <string>
#include <string_view>

#include "cpu/address_set.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr std::string_view kBreakpointNeedsAddressNotice =
    "Σημείο διακοπής μπαίνει μόνο σε γραμμή με διεύθυνση.";

// Toggles the breakpoint of the grid's current line, or of row. A line with no address takes
// none: the message area says so.
void ToggleBreakpoint(grid::Workspace& workspace);
void ToggleBreakpoint(grid::Workspace& workspace, int row);

// The addresses of the data lines that carry a breakpoint. A line whose address cell holds no
// address (empty, or not four hexadecimal digits at most) adds nothing.
cpu::AddressSet BreakpointAddresses(const grid::ProgramGrid& grid);

// The first data line with a breakpoint whose address is address, or 0.
int BreakpointRowAt(const grid::ProgramGrid& grid, int address);

// "Σημείο διακοπής στη γραμμή 5, διεύθυνση 0208."
std::string BreakpointMessage(int row, int address);

// Shows the stop at a breakpoint: the blue notice and the grid's cursor on that line.
void ReportBreakpointStop(grid::Workspace& workspace, int address);

}  // namespace zorvan::app
