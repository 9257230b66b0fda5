#pragma once
// What a run or a step of the emulated program reaches outside the machine, in the application:
// the console routines go to the console window, and a full stack is reported in the main
// window's message area.

#include "cpu/machine_host.h"

namespace zorvan::windows {

struct ApplicationWindows;

class MachineHostAdapter final : public cpu::MachineHost {
  public:
    explicit MachineHostAdapter(ApplicationWindows& windows) : windows_(windows) {}

    void ShowCharacter(int ac) override;
    void AskForAccumulator() override;
    void ClearConsole() override;
    void PrintText(std::string_view cp1253Bytes) override;
    void StackFull() override;

  private:
    ApplicationWindows& windows_;
};

}  // namespace zorvan::windows
