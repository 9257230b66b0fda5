#pragma once
// A machine host that records what the emulated program asked of the console.

#include <string>
#include <vector>

#include "cpu/machine_host.h"

namespace zorvan::cpu {

class RecordingHost : public MachineHost {
  public:
    void ShowCharacter(int ac) override { calls.push_back("char " + std::to_string(ac)); }
    void AskForAccumulator() override { calls.push_back("ask"); }
    void ClearConsole() override { calls.push_back("clear"); }
    void PrintText(std::string_view bytes) override {
        calls.push_back("print");
        texts.emplace_back(bytes);
    }
    void StackFull() override { calls.push_back("stack full"); }

    std::vector<std::string> calls;
    std::vector<std::string> texts;
};

}  // namespace zorvan::cpu
