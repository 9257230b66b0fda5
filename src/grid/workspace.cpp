#include "grid/workspace.h"

namespace zorvan::grid {

void Workspace::ShowDebuggerMessage(std::string_view text, int column, char colour) {
    message.labelEnabled = true;
    message.memoEnabled = true;
    message.colour = colour == 'b' ? MessageColour::kBlue : MessageColour::kRed;
    message.text = text;
    grid.SetCol(column);
}

}  // namespace zorvan::grid
