#pragma once
// The Grid menu's commands: insert one line, insert several lines, delete a line, clear the grid.
// Each sets the changed flag when it changes a cell or the row count, whether it came from the
// menu or a key; none touches whether Assemble, Run and Step are enabled.

#include <string_view>

namespace zorvan::grid {
struct Workspace;
class EditHistory;
}  // namespace zorvan::grid

namespace zorvan::app {

// Opens an empty line at the current row; the line that stood there moves down and gives the new
// line its address. The cursor goes to the new line's instruction cell.
void InsertLine(grid::Workspace& workspace);

// Appends the number of rows the text names (decimal, or hexadecimal after "0x"), at the end of
// the grid. A text that is not such an integer throws text::ConversionError and changes nothing. A
// negative number removes rows from the end but never the last data row.
void InsertLines(grid::Workspace& workspace, std::string_view countText);

enum class DeleteLineResult {
    kDeleted,
    kEmptiedOnlyRowAndBeep,  // the window sounds the system beep
};

// Removes the current row and recomputes the addresses from the line above it. When the
// recomputation meets an instruction line without a valid address it throws
// text::ConversionError: the line is deleted by then and the cursor stays on the line above.
DeleteLineResult DeleteLine(grid::Workspace& workspace);

// Empties the data rows, leaves one empty line with the cursor on its address, restores the
// caption, forgets the program's file and greys the message area. Also the first step of New and
// Open.
void ClearGrid(grid::Workspace& workspace);

inline constexpr std::string_view kGridClearedNotice =
    "Το πλέγμα καθαρίστηκε· με Ctrl+Z επανέρχεται.";

// The Grid menu's Clear grid: asks nothing, since it can be undone, and says so in blue when it
// emptied something.
void ClearGridCommand(grid::Workspace& workspace);

// The Grid menu's Undo (undo true) and Redo: the program of the step before or after, with the
// cursor noted first so that redoing puts it back. Clear grid's notice goes with the clear.
// False when there was nothing to take back or bring back.
bool UndoOrRedo(grid::EditHistory& history, grid::Workspace& workspace, bool undo);

}  // namespace zorvan::app
