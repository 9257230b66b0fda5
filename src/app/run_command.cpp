#include "app/run_command.h"

#include "app/breakpoints.h"
#include "text/hex_text.h"

namespace zorvan::app {

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

RunCommand::RunCommand(grid::Workspace& workspace, cpu::MachineHost& host, int start)
    : workspace_(workspace),
      breakpoints_(BreakpointAddresses(workspace.grid)),
      run_(workspace.machine, host, start) {
    run_.WatchBreakpoints(&breakpoints_);
}

void RunCommand::Report() {
    const int column = workspace_.grid.Col();
    switch (run_.End()) {
        case cpu::RunEnd::kEmptyCell:
            workspace_.ShowMessage(kRunCompletedMessage, column, grid::Tone::kNotice);
            break;
        case cpu::RunEnd::kStopped:
            if (run_.AtBreakpoint()) {
                ReportBreakpointStop(workspace_, workspace_.machine.PC);
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
}

}  // namespace zorvan::app
