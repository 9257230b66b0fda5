#include "app/step_session.h"

#include "cpu/run_loop.h"
#include "text/hex_text.h"

namespace zorvan::app {
namespace {

constexpr int kStatusColumn = grid::kInstructionColumn;

}  // namespace

int FindGridRow(const grid::ProgramGrid& grid, int address) {
    int row = 1;
    while (true) {
        const std::string& cell = grid.Cell(grid::kAddressColumn, row);
        if (cell.empty()) return 0;
        if (text::HexTextToInt(cell) == address) return row;
        ++row;
    }
}

StepSession::StepSession(grid::Workspace& workspace, cpu::MachineHost& host, StepPeers& peers)
    : workspace_(workspace), host_(host), peers_(peers) {}

void StepSession::FormShow() {
    state_.startAddress = "0000";
    for (auto& row : state_.rows) {
        for (int column = 1; column < kStepGridColumns; ++column) row[column].clear();
    }
    state_.statusVisible = false;
    state_.nextVisible = false;
    state_.stopVisible = false;
}

void StepSession::ShowStepRows(int row) {
    if (row == -1) {
        workspace_.ShowDebuggerMessage(kStepPossibleAddressErrorMessage, grid::kLabelColumn, 'r');
        return;
    }
    const grid::ProgramGrid& grid = workspace_.grid;
    auto& executed = state_.rows[0];
    auto& toExecute = state_.rows[1];
    // Above the first line lies the header, whose caption is no address: the line that was
    // "to execute" then moves up to "executed".
    const bool headerAbove = !text::IsHexText(grid.Cell(grid::kAddressColumn, grid.Row() - 1));
    for (int column = 1; column < kStepGridColumns; ++column) {
        if (headerAbove && !toExecute[column].empty()) {
            executed[column] = toExecute[column];
        } else {
            executed[column] = grid.Cell(column, row);
        }
        toExecute[column] = grid.Cell(column, row + 1);
    }
}

void StepSession::Start() {
    cpu::Machine& machine = workspace_.machine;
    machine.PC = text::HexTextToInt(state_.startAddress);
    const int row = FindGridRow(workspace_.grid, machine.PC);
    if (row != 0) {
        workspace_.ShowDebuggerMessage(std::string(kStepStartedMessage) + state_.startAddress,
                                       kStatusColumn, 'b');
        ShowStepRows(row);
        workspace_.grid.SetRow(row);
        workspace_.grid.SetRow(row + 1);
    } else {
        workspace_.ShowDebuggerMessage(kStepAddressNotInGridMessage, kStatusColumn, 'r');
    }
    cpu::StepAt(machine, host_, machine.PC);
    currentRow_ = FindGridRow(workspace_.grid, machine.PC);

    peers_.SetProgramGridEnabled(false);
    state_.nextVisible = state_.nextEnabled = true;
    state_.stopVisible = state_.stopEnabled = true;
    state_.status = kStepRunningStatus;
    state_.statusVisible = true;
    workspace_.grid.SetCol(grid::kInstructionColumn);
    peers_.ShowRegisterWindow();
}

void StepSession::Next() {
    cpu::Machine& machine = workspace_.machine;
    cpu::StepAt(machine, host_, machine.PC);
    peers_.RefillRegisters();
    peers_.RedrawMemory();

    // With the grid's single empty line after the program, RowCount - 2 is the program's last
    // line: an empty cell after it ends the program.
    if (machine.Read(machine.PC) == 0 && currentRow_ == workspace_.grid.RowCount() - 2) {
        state_.status = kStepEndedStatus;
        state_.nextEnabled = false;
        state_.stopEnabled = false;
        peers_.SetProgramGridEnabled(true);
        return;
    }
    currentRow_ = FindGridRow(workspace_.grid, machine.PC);
    if (currentRow_ != 0) workspace_.grid.SetRow(currentRow_);
    ShowStepRows(currentRow_ - 1);
    peers_.RepaintMemory();
}

void StepSession::Stop() {
    state_.status = kStepStoppedStatus;
    state_.nextEnabled = false;
}

void StepSession::Close() {
    peers_.SetProgramGridEnabled(true);
}

}  // namespace zorvan::app
