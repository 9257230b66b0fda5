#pragma once
// What the emulated program reaches outside the machine: the console routines at FFFC-FFFF and the
// stack-full report. The console window implements it; tests fake it; a headless run may use
// NullMachineHost.

#include <string_view>

namespace zorvan::cpu {

class MachineHost {
  public:
    virtual ~MachineHost() = default;

    // JSR FFFF: the console shows only the character whose code is ac.
    virtual void ShowCharacter(int ac) = 0;
    // JSR FFFE: the console shows "Δώσε τον AC" and puts the focus into its field. It does not
    // wait; AC is set later, whenever the user presses Enter there.
    virtual void AskForAccumulator() = 0;
    // JSR FFFD: the console is emptied.
    virtual void ClearConsole() = 0;
    // JSR FFFC: cp1253Bytes (one byte per memory cell, its low byte) becomes a new last line.
    virtual void PrintText(std::string_view cp1253Bytes) = 0;
    // False while a PrintText call would change nothing the host keeps: the routine then reads
    // no text out of memory and makes no call, so that an endless printing loop costs no more
    // than any other loop.
    virtual bool WantsPrintedText() const { return true; }
    // PHA or PHP with SP = 0: the window shows kStackFullMessage in red in the message area,
    // with the grid's cursor in the instruction column.
    virtual void StackFull() = 0;
};

// A host that shows nothing: for headless runs and benchmarks.
class NullMachineHost : public MachineHost {
  public:
    void ShowCharacter(int) override {}
    void AskForAccumulator() override {}
    void ClearConsole() override {}
    void PrintText(std::string_view) override {}
    void StackFull() override {}
};

}  // namespace zorvan::cpu
