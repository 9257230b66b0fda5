#include "windows/machine_host_adapter.h"

#include "cpu/run_loop.h"
#include "grid/program_grid.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/main_window.h"

namespace zorvan::windows {

void MachineHostAdapter::ShowCharacter(int ac) {
    forms_.Console->ShowCharacter(ac);
}

void MachineHostAdapter::AskForAccumulator() {
    forms_.Console->AskForAccumulator();
}

void MachineHostAdapter::ClearConsole() {
    forms_.Console->ClearConsole();
}

void MachineHostAdapter::PrintText(std::string_view cp1253Bytes) {
    forms_.Console->PrintText(cp1253Bytes);
}

void MachineHostAdapter::StackFull() {
    forms_.workspace.ShowMessage(cpu::kStackFullMessage, grid::kInstructionColumn, grid::Tone::kError);
    forms_.Form1->RefreshFromWorkspace();
}

}  // namespace zorvan::windows
