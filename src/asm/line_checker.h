#pragma once
// The line checker: runs as the student types into the program grid. When a cell is committed it
// checks it, reports a refusal in the message area, or accepts it, fills in the next line's
// address and moves the cursor on. Every function works on the grid's current cell.
//
// A cell that must hold an address but does not (an empty address cell, for instance) makes
// HexTextToInt throw text::ConversionError; the work done before that point stays done.

#include <vector>

#include "asm/operand_syntax.h"

namespace zorvan::grid {
struct Workspace;
}

namespace zorvan::assembler {

// The address cell of the current row: accepted (cursor to the instruction) or refused (message).
void CheckAddress(grid::Workspace& workspace);
// The instruction cell of the current row: refused, completed at once (implied), or the cursor
// moves on to the first parameter.
void CheckInstruction(grid::Workspace& workspace);

// The line is complete and occupies `bytes`: empties the parameters right of the cursor, writes
// the next line's address (adding a row when this is the last one) and moves to its instruction.
void FinishLine(grid::Workspace& workspace, int bytes);
// The first parameter is accepted and the line needs a second one: writes the next line's
// address (never adding a row) and moves one column right.
void NextParameter(grid::Workspace& workspace, int bytes);

// Rewrites the address cells below the current row, line by line, for as long as lines have an
// instruction; the first line without one receives its address too.
void RecomputeAddresses(grid::Workspace& workspace);

// Applies what a parameter check asked for, in order: the last one decides what shows.
void ApplyOutcomes(grid::Workspace& workspace, const std::vector<LineOutcome>& outcomes);

// The checks of the first and second parameter cells of the current row, applied.
void CheckFirstParameterCell(grid::Workspace& workspace);
void CheckSecondParameterCell(grid::Workspace& workspace);

}  // namespace zorvan::assembler
