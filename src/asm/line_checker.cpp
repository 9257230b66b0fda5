#include "asm/line_checker.h"

#include <cstdint>
#include <string>

#include "app/program_grid.h"
#include "app/workspace.h"
#include "asm/instruction_set.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::assembler {
namespace {

using app::kAddressColumn;
using app::kFirstParameterColumn;
using app::kInstructionColumn;
using app::kSecondParameterColumn;

// Empties the cells right of the current column up to the second parameter; the comment stays.
void EmptyParametersRightOfCursor(app::ProgramGrid& grid) {
    for (int column = grid.Col() + 1; column <= kSecondParameterColumn; ++column) {
        grid.SetCell(column, grid.Row(), {});
    }
}

// The address of the line after the current one: this line's address plus its length. Computed
// in 64 bits so that no address text can overflow; "%04X" shows the low 32 bits as the platform
// would.
std::int64_t NextAddress(const app::ProgramGrid& grid, int row, int bytes) {
    return static_cast<std::int64_t>(text::HexTextToInt(grid.Cell(kAddressColumn, row))) + bytes;
}

}  // namespace

void CheckAddress(app::Workspace& workspace) {
    app::ProgramGrid& grid = workspace.grid;
    const std::string& address = grid.Cell(kAddressColumn, grid.Row());
    const std::size_t length = text::CharacterCount(address);
    if (length > 4) {
        workspace.ShowDebuggerMessage("Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία.",
                                      kAddressColumn, 'r');
    } else if (length < 4) {
        workspace.ShowDebuggerMessage("Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.",
                                      kAddressColumn, 'r');
    } else if (text::IsHexText(address)) {
        grid.SetCol(kInstructionColumn);
    } else {
        // The system's own text, with its stray apostrophe.
        workspace.ShowDebuggerMessage("Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια.",
                                      kAddressColumn, 'r');
    }
}

void CheckInstruction(app::Workspace& workspace) {
    app::ProgramGrid& grid = workspace.grid;
    const std::string& instruction = grid.Cell(kInstructionColumn, grid.Row());
    const int row = FindMnemonic(instruction);
    if (row < 0) {
        workspace.ShowDebuggerMessage("'" + instruction + "' Εντολή Ανύπαρκτη.", kInstructionColumn,
                                      'r');
        return;
    }
    workspace.ClearMessage();
    workspace.message.memoEnabled = false;
    if (HasMode(row, kImplied)) {
        FinishLine(workspace, 1);
    } else {
        grid.SetCol(kFirstParameterColumn);
    }
}

void FinishLine(app::Workspace& workspace, int bytes) {
    app::ProgramGrid& grid = workspace.grid;
    EmptyParametersRightOfCursor(grid);
    const int row = grid.Row();
    const std::int64_t next = NextAddress(grid, row, bytes);
    // On the last row one row is added. (A row beyond the table, possible only after a file
    // without rows was opened, brings the table up to the line after it.)
    if (row >= grid.LastRow()) grid.SetRowCount(row + 2);
    grid.SetCell(kAddressColumn, row + 1, text::FormatHex4(next));
    grid.SetCurrent(kInstructionColumn, row + 1);
    workspace.ClearMessage();
}

void NextParameter(app::Workspace& workspace, int bytes) {
    app::ProgramGrid& grid = workspace.grid;
    EmptyParametersRightOfCursor(grid);
    const int row = grid.Row();
    const std::int64_t next = NextAddress(grid, row, bytes);
    // The next row may lie beyond the table: the grid keeps the text until the row is added.
    grid.SetCell(kAddressColumn, row + 1, text::FormatHex4(next));
    grid.SetCol(grid.Col() + 1);
    workspace.ClearMessage();
}

void RecomputeAddresses(app::Workspace& workspace) {
    app::ProgramGrid& grid = workspace.grid;
    int row = grid.Row();
    if (grid.Cell(kInstructionColumn, row).empty()) return;
    // Each line's address is the one the line above has just written, so only the first is read
    // from its text; the value carried on is what reading that text back would give.
    std::int32_t address = text::HexTextToInt(grid.Cell(kAddressColumn, row));
    // Follows the stored lines, not the row count: a line beyond the table still has an address.
    for (; !grid.Cell(kInstructionColumn, row).empty(); ++row) {
        const int operandClass = ClassifyOperand(grid.Cell(kFirstParameterColumn, row),
                                                 grid.Cell(kInstructionColumn, row));
        const std::int64_t next =
            static_cast<std::int64_t>(address) + OperandClassByteCount(operandClass);
        std::string formatted = text::FormatHex4(next);
        if (grid.Cell(kAddressColumn, row + 1) != formatted) {
            grid.SetCell(kAddressColumn, row + 1, std::move(formatted));
        }
        address = static_cast<std::int32_t>(static_cast<std::uint32_t>(next));
    }
}

void ApplyOutcomes(app::Workspace& workspace, const std::vector<LineOutcome>& outcomes) {
    for (const LineOutcome& outcome : outcomes) {
        switch (outcome.kind) {
            case LineOutcome::Kind::kFinishLine:
                FinishLine(workspace, outcome.bytes);
                break;
            case LineOutcome::Kind::kNextParameter:
                NextParameter(workspace, outcome.bytes);
                break;
            case LineOutcome::Kind::kMessage:
                workspace.ShowDebuggerMessage(outcome.message, outcome.column, outcome.colour);
                if (outcome.emptiesSecondParameter) {
                    workspace.grid.SetCell(kSecondParameterColumn, workspace.grid.Row(), {});
                }
                break;
        }
    }
}

void CheckFirstParameterCell(app::Workspace& workspace) {
    const app::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    ApplyOutcomes(workspace, CheckFirstParameter(grid.Cell(kInstructionColumn, row),
                                                 grid.Cell(kFirstParameterColumn, row)));
}

void CheckSecondParameterCell(app::Workspace& workspace) {
    const app::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    ApplyOutcomes(workspace, CheckSecondParameter(grid.Cell(kInstructionColumn, row),
                                                  grid.Cell(kFirstParameterColumn, row),
                                                  grid.Cell(kSecondParameterColumn, row)));
}

}  // namespace zorvan::assembler
