#include "asm/line_checker.h"

#include <cstdint>
#include <string>

#include "cpu/instruction_set.h"
#include "grid/program_grid.h"
#include "grid/workspace.h"
#include "text/characters.h"
#include "text/hex_text.h"

namespace zorvan::assembler {
namespace {

using grid::kAddressColumn;
using grid::kFirstParameterColumn;
using grid::kInstructionColumn;
using grid::kSecondParameterColumn;

// Empties the cells right of the current column up to the second parameter; the comment stays.
void EmptyParametersRightOfCursor(grid::ProgramGrid& grid) {
    for (int column = grid.Col() + 1; column <= grid::kSecondParameterColumn; ++column) {
        grid.SetCell(column, grid.Row(), {});
    }
}

// The address of the line after the current one: this line's address plus its length. Computed
// in 64 bits so that no address text can overflow; "%04X" shows the low 32 bits as the platform
// would.
std::int64_t NextAddress(const grid::ProgramGrid& grid, int row, int bytes) {
    return static_cast<std::int64_t>(text::HexTextToInt(grid.Cell(grid::kAddressColumn, row))) +
           bytes;
}

}  // namespace

void CheckAddress(grid::Workspace& workspace) {
    grid::ProgramGrid& grid = workspace.grid;
    const std::string& address = grid.Cell(grid::kAddressColumn, grid.Row());
    const std::size_t length = text::CharacterCount(address);
    if (length > 4) {
        workspace.ShowMessage("Η διεύθυνση δέχεται μόνο τέσσερα δεκαεξαδικά ψηφία.",
                              grid::kAddressColumn, grid::Tone::kError);
    } else if (length < 4) {
        workspace.ShowMessage("Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφία.",
                              grid::kAddressColumn, grid::Tone::kError);
    } else if (text::IsHexText(address)) {
        grid.SetCol(grid::kInstructionColumn);
    } else {
        // The system's own text, with its stray apostrophe.
        workspace.ShowMessage("Λάθος διεύθυνση. Δεκτά μόνο τέσσερα δεκαεξαδικά ψηφ'ια.",
                              grid::kAddressColumn, grid::Tone::kError);
    }
}

void CheckInstruction(grid::Workspace& workspace) {
    grid::ProgramGrid& grid = workspace.grid;
    const std::string& instruction = grid.Cell(grid::kInstructionColumn, grid.Row());
    const int row = cpu::FindMnemonic(instruction);
    if (row < 0) {
        workspace.ShowMessage("'" + instruction + "' Εντολή Ανύπαρκτη.", grid::kInstructionColumn,
                              grid::Tone::kError);
        return;
    }
    workspace.ClearMessage();
    workspace.message.textEnabled = false;
    if (cpu::HasMode(row, cpu::kImplied)) {
        FinishLine(workspace, 1);
    } else {
        grid.SetCol(grid::kFirstParameterColumn);
    }
}

void FinishLine(grid::Workspace& workspace, int bytes) {
    grid::ProgramGrid& grid = workspace.grid;
    EmptyParametersRightOfCursor(grid);
    const int row = grid.Row();
    const std::int64_t next = NextAddress(grid, row, bytes);
    // On the last row one row is added. (A row beyond the table, possible only after a file
    // without rows was opened, brings the table up to the line after it.)
    if (row >= grid.LastRow()) grid.SetRowCount(row + 2);
    grid.SetCell(grid::kAddressColumn, row + 1, text::FormatHex4(next));
    grid.SetCurrent(grid::kInstructionColumn, row + 1);
    workspace.ClearMessage();
}

void NextParameter(grid::Workspace& workspace, int bytes) {
    grid::ProgramGrid& grid = workspace.grid;
    EmptyParametersRightOfCursor(grid);
    const int row = grid.Row();
    const std::int64_t next = NextAddress(grid, row, bytes);
    // The next row may lie beyond the table: the grid keeps the text until the row is added.
    grid.SetCell(grid::kAddressColumn, row + 1, text::FormatHex4(next));
    grid.SetCol(grid.Col() + 1);
    workspace.ClearMessage();
}

void RecomputeAddresses(grid::Workspace& workspace) {
    grid::ProgramGrid& grid = workspace.grid;
    int row = grid.Row();
    if (grid.Cell(grid::kInstructionColumn, row).empty()) return;
    // Each line's address is the one the line above has just written, so only the first is read
    // from its text; the value carried on is what reading that text back would give.
    std::int32_t address = text::HexTextToInt(grid.Cell(grid::kAddressColumn, row));
    // Follows the stored lines, not the row count: a line beyond the table still has an address.
    for (; !grid.Cell(grid::kInstructionColumn, row).empty(); ++row) {
        const int operandClass = ClassifyOperand(grid.Cell(grid::kFirstParameterColumn, row),
                                                 grid.Cell(grid::kInstructionColumn, row));
        const std::int64_t next =
            static_cast<std::int64_t>(address) + OperandClassByteCount(operandClass);
        std::string formatted = text::FormatHex4(next);
        if (grid.Cell(grid::kAddressColumn, row + 1) != formatted) {
            grid.SetCell(grid::kAddressColumn, row + 1, std::move(formatted));
        }
        address = static_cast<std::int32_t>(static_cast<std::uint32_t>(next));
    }
}

void ApplyOutcomes(grid::Workspace& workspace, const std::vector<LineOutcome>& outcomes) {
    for (const LineOutcome& outcome : outcomes) {
        switch (outcome.kind) {
            case LineOutcome::Kind::kFinishLine:
                FinishLine(workspace, outcome.bytes);
                break;
            case LineOutcome::Kind::kNextParameter:
                NextParameter(workspace, outcome.bytes);
                break;
            case LineOutcome::Kind::kMessage:
                workspace.ShowMessage(outcome.message, outcome.column, outcome.tone);
                if (outcome.emptiesSecondParameter) {
                    workspace.grid.SetCell(grid::kSecondParameterColumn, workspace.grid.Row(), {});
                }
                break;
        }
    }
}

void CheckFirstParameterCell(grid::Workspace& workspace) {
    grid::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    // A finished indexed line checked again keeps its index register: going on to the second
    // parameter empties it, and leaving it empty would silently make the line ",X".
    const std::string kept = grid.Cell(grid::kSecondParameterColumn, row);
    ApplyOutcomes(workspace, CheckFirstParameter(grid.Cell(grid::kInstructionColumn, row),
                                                 grid.Cell(grid::kFirstParameterColumn, row)));
    if (kept.empty() || grid.Row() != row || grid.Col() != grid::kSecondParameterColumn) return;
    const std::vector<LineOutcome> outcomes =
        CheckSecondParameter(grid.Cell(grid::kInstructionColumn, row),
                             grid.Cell(grid::kFirstParameterColumn, row), kept);
    const bool accepted =
        !outcomes.empty() && outcomes.back().kind == LineOutcome::Kind::kFinishLine;
    if (!accepted) return;
    grid.SetCell(grid::kSecondParameterColumn, row, kept);
    ApplyOutcomes(workspace, outcomes);
}

void CheckSecondParameterCell(grid::Workspace& workspace) {
    const grid::ProgramGrid& grid = workspace.grid;
    const int row = grid.Row();
    ApplyOutcomes(workspace, CheckSecondParameter(grid.Cell(grid::kInstructionColumn, row),
                                                  grid.Cell(grid::kFirstParameterColumn, row),
                                                  grid.Cell(grid::kSecondParameterColumn, row)));
}

}  // namespace zorvan::assembler
