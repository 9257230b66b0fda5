#include "windows/machine_host_adapter.h"

#include "cpu/run_loop.h"
#include "grid/program_grid.h"
#include "windows/application_windows.h"
#include "windows/console_window.h"
#include "windows/main_window.h"

namespace zorvan::windows {

void MachineHostAdapter::ShowCharacter(int ac) {
    windows_.consoleWindow->ShowCharacter(ac);
}

void MachineHostAdapter::AskForAccumulator() {
    windows_.consoleWindow->AskForAccumulator();
}

void MachineHostAdapter::ClearConsole() {
    windows_.consoleWindow->ClearConsole();
}

void MachineHostAdapter::PrintText(std::string_view cp1253Bytes) {
    windows_.consoleWindow->PrintText(cp1253Bytes);
}

void MachineHostAdapter::StackFull() {
    windows_.workspace.ShowMessage(cpu::kStackFullMessage, grid::kInstructionColumn,
                                   grid::Tone::kError);
    windows_.mainWindow->RefreshFromWorkspace();
}

}  // namespace zorvan::windows
