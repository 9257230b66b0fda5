#include "app/run_command.h"

#include <optional>

#include "cpu/interpreter.h"
#include "text/hex_text.h"

namespace zorvan::app {

std::string OverwroteItselfNotice(int address) {
    return std::string(kProgramOverwroteItselfNotice) + text::FormatHex4(address) + ").";
}

std::string ConsoleWithoutRtsNotice(int routine) {
    return std::string(kConsoleWithoutRtsNotice) + text::FormatHex4(routine) + ".";
}

void AppendNotice(grid::Workspace& workspace, const std::string& notice) {
    if (workspace.message.text.empty()) {
        workspace.ShowMessage(notice, workspace.grid.Col(), grid::Tone::kNotice);
    } else {
        workspace.ShowMessage(workspace.message.text + " " + notice, workspace.grid.Col(),
                              workspace.message.tone);
    }
}

cpu::AddressSet ProgramBytes(const grid::ProgramGrid& grid, const cpu::Machine& machine) {
    cpu::AddressSet bytes;
    for (int row = 1; row < grid.RowCount(); ++row) {
        const std::string& address = grid.Cell(grid::kAddressColumn, row);
        if (grid.Cell(grid::kInstructionColumn, row).empty() || address.size() > 4) continue;
        const std::optional<std::int32_t> at = text::ParseHex(address);
        if (!at) continue;
        const cpu::DecodedOpcode d = cpu::Decode(machine.Read(*at));
        const int length = d.known ? d.length : 1;
        for (int i = 0; i < length; ++i) bytes.Add(*at + i);
    }
    return bytes;
}

std::string SlipNotices(const cpu::SlipChecks& slips, const grid::ProgramGrid& grid) {
    std::string notices;
    for (const cpu::Slip& slip : slips.Found()) {
        int line = 0;
        for (int row = 1; row < grid.RowCount() && line == 0; ++row) {
            const std::string& address = grid.Cell(grid::kAddressColumn, row);
            if (!grid.Cell(grid::kInstructionColumn, row).empty() && address.size() <= 4 &&
                text::ParseHex(address) == slip.at)
                line = row;
        }
        if (!notices.empty()) notices += " ";
        notices += cpu::SlipNotice(slip, line);
    }
    return notices;
}

int StartAddressOf(std::string_view text) {
    return text::HexTextToInt(text);
}

bool AcceptsStartAddress(std::string_view text) {
    return StartAddressOf(text) != 0;
}

cpu::RunEnd RunWithStopWindow(SlicedRun& run, const std::function<bool()>& tookLong,
                              const std::function<void()>& showStopWindow) {
    while (run.Slice(kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
        if (tookLong()) {
            showStopWindow();
            if (run.End() == cpu::RunEnd::kRunning) run.Stop();
            break;
        }
    }
    return run.End();
}

void ReportRunCancelled(grid::Workspace& workspace) {
    workspace.ShowMessage(kRunCancelledMessage, workspace.grid.Col(), grid::Tone::kError);
}

RunCommand::RunCommand(grid::Workspace& workspace, cpu::MachineHost& host, int start,
                       BreakpointHits* hits)
    : workspace_(workspace),
      hits_(hits),
      program_(ProgramBytes(workspace.grid, workspace.machine)),
      run_(workspace.machine, host, start) {
    const cpu::AddressSet breakpoints = BreakpointAddresses(workspace.grid);
    run_.WatchBreakpoints(&breakpoints);
    if (hits_ != nullptr) {
        hits_->Follow(workspace.grid);
        hits_->BeginRunAt(start);
    }
    // Watched even with every check off: the cells it writes stay known for when one is on again.
    workspace.slips.BeginRun(program_, true);
    run_.WatchSlips(&workspace.slips);
    for (int address = 0; address < cpu::kMemorySize; ++address) {
        if (program_.Contains(address))
            programBefore_.emplace_back(address, workspace.machine.memory[address]);
    }
}

cpu::RunEnd RunCommand::Slice(std::int64_t budget) {
    // An ended run's stop was counted once, when it came.
    if (run_.End() != cpu::RunEnd::kRunning) return run_.End();
    const std::int64_t before = run_.ExecutedCount();
    cpu::RunEnd end = run_.Slice(budget);
    // A breakpoint whose pass does not stop the run: on past it with what is left of the budget.
    while (end == cpu::RunEnd::kStopped && run_.AtBreakpoint() && hits_ != nullptr &&
           !hits_->StopsAt(workspace_.machine.PC)) {
        run_.PassBreakpoint();
        const std::int64_t left = budget < 0 ? budget : budget - (run_.ExecutedCount() - before);
        if (left == 0) return cpu::RunEnd::kRunning;
        end = run_.Slice(left);
    }
    return end;
}

std::string RunCommand::Notice() const {
    const cpu::Machine& m = workspace_.machine;
    // An empty cell after a console routine's address: a JSR went there and found no RTS.
    const int routine = m.PC - 1;
    if (run_.End() == cpu::RunEnd::kEmptyCell && cpu::IsConsoleRoutine(routine))
        return ConsoleWithoutRtsNotice(routine);
    for (const auto& [address, value] : programBefore_) {
        if (m.memory[static_cast<std::size_t>(address)] != value)
            return OverwroteItselfNotice(address);
    }
    return {};
}

void RunCommand::Report() {
    const int column = workspace_.grid.Col();
    switch (run_.End()) {
        case cpu::RunEnd::kEmptyCell:
            workspace_.ShowMessage(kRunCompletedMessage, column, grid::Tone::kNotice);
            break;
        case cpu::RunEnd::kStopped:
            if (run_.AtBreakpoint()) {
                const int pc = workspace_.machine.PC;
                ReportBreakpointStop(workspace_, pc, hits_ != nullptr ? hits_->EveryAt(pc) : 1);
            } else {
                workspace_.ShowMessage(cpu::kStoppedByUserMessage, column, grid::Tone::kError);
            }
            break;
        case cpu::RunEnd::kNotExecuted:
            workspace_.ShowMessage(
                cpu::NotExecutedMessage(run_.NotExecutedOpcode(), run_.NotExecutedAddress()),
                column, grid::Tone::kError);
            break;
        case cpu::RunEnd::kStackFull:
        case cpu::RunEnd::kLimit:
        case cpu::RunEnd::kRunning:
            break;
    }
    const std::string notice = Notice();
    if (!notice.empty()) AppendNotice(workspace_, notice);
    // The run stands one past the empty cell it ended before.
    if (run_.End() == cpu::RunEnd::kEmptyCell && run_.ExecutedCount() > 0)
        workspace_.slips.EndedAt(workspace_.machine, std::int64_t{workspace_.machine.PC} - 1);
    const std::string slips = SlipNotices(workspace_.slips, workspace_.grid);
    if (!slips.empty()) AppendNotice(workspace_, slips);
}

}  // namespace zorvan::app
