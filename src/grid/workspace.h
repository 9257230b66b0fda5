#pragma once
// The main window's document and machine, without a window: the program grid, the message area
// under it, the changed flag, whether Assemble/Run/Step are enabled, the caption, and the machine.
// The main window shows this state; every rule about it lives here and is tested headless.

#include <string>
#include <string_view>

#include "cpu/machine.h"
#include "grid/program_grid.h"

namespace zorvan::grid {

enum class MessageColour { kBlue, kRed };

// The message area `Memo1` with its heading label `Label1` ("Debugger").
struct MessageArea {
    std::string text;
    MessageColour colour = MessageColour::kRed;
    bool labelEnabled = false;
    bool memoEnabled = false;
};

inline constexpr std::string_view kApplicationTitle = "Zorvan";

struct Workspace {
    ProgramGrid grid;
    MessageArea message;
    bool changed = false;
    bool executionEnabled = false;  // Assemble, Run and Step execution, switched together
    std::string caption{kApplicationTitle};
    std::string openDialogFileName;  // the name last chosen in the open dialog; the print heading
    cpu::Machine machine;

    // Enables the label and the message area, sets the colour (blue for 'b', red for any other
    // character), replaces the text, and moves the grid's current column, leaving its row.
    void ShowDebuggerMessage(std::string_view text, int column, char colour);
    // Empties the message area's text; whether it is enabled stays as it was.
    void ClearMessage() { message.text.clear(); }
};

}  // namespace zorvan::grid
