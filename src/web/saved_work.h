#pragma once
// The work a browser keeps between visits: the program grid exactly as it stands (every stored
// cell, hidden rows included, the row count, the current cell, the breakpoints and their counts),
// the changed flag, whether the execution commands are on, and the caption. A program file cannot
// serve: it turns an empty comment into a space and cannot hold every cell.
//
//   std::string text = SavedWorkText(workspace);     // into the browser's storage
//   RestoreSavedWork(workspace, text);                // on the next visit

#include <string>
#include <string_view>

#include "grid/workspace.h"

namespace zorvan::web {

std::string SavedWorkText(const grid::Workspace& workspace);

// Puts the saved work into the workspace; a text that is not saved work (from another version,
// or cut short) changes nothing and gives false.
bool RestoreSavedWork(grid::Workspace& workspace, std::string_view text);

}  // namespace zorvan::web
