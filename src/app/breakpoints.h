#pragma once
// Breakpoints on program lines: toggled on the grid's current line, turned into the addresses a
// run stops at, and reported when a run stops at one.

#include <map>
#include <string>
#include <string_view>

#include "cpu/address_set.h"
#include "grid/workspace.h"

namespace zorvan::app {

inline constexpr std::string_view kBreakpointNeedsAddressNotice =
    "Σημείο διακοπής μπαίνει μόνο σε γραμμή με διεύθυνση.";

// How often the breakpoints stop a run: each on the every-th pass of its line, counted from its
// last stop. A pass is a run reaching the breakpoint's line (a run's first instruction, resumed
// there, is none). The step window counts over one step session; the Run command from one run to
// the next that goes on from its breakpoint.
class BreakpointHits {
  public:
    static constexpr int kMostPasses = 9999;
    // Takes the count of each breakpoint of grid for its address (of the first line with that
    // address, as BreakpointRowAt finds it). An address whose count changed, or that lost its
    // breakpoint, starts its passes again.
    void Follow(const grid::ProgramGrid& grid);
    // The count taken for address: 1 (every pass) when it has none.
    int EveryAt(int address) const;
    // Some breakpoint stops on a later pass than the first.
    bool Counting() const;
    void Reset() { passes_.clear(); }
    // A run starts at start: the passes carry over only when the run before stopped at a
    // breakpoint there, and start afresh for any other start.
    void BeginRunAt(int start);
    // A run reached the breakpoint at address: counts the pass; true when the run stops there.
    bool StopsAt(int address);
    // The passes counted at address since its last stop.
    int Passes(int address) const;

  private:
    std::map<int, int> every_;  // address -> count
    std::map<int, int> passes_;
    int lastStop_ = -1;  // the address of the last stop, until the next run begins
};

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

// "Στάση στο 10ο πέρασμα.", after BreakpointMessage when that breakpoint counts its passes.
std::string HitStopMessage(int every);

// The words before the step window's count field, for the grid's current line: "Σημείο διακοπής
// γραμμής 4: διακοπή μετά από" (the field, then "φορές"), or, on a line without a breakpoint,
// that it has none.
std::string BreakpointCountCaption(const grid::ProgramGrid& grid);

// Shows the stop at a breakpoint: the blue notice (with HitStopMessage when every is over 1) and
// the grid's cursor on that line.
void ReportBreakpointStop(grid::Workspace& workspace, int address, int every = 1);

}  // namespace zorvan::app
