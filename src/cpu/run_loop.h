#pragma once
// The run loop and the single step: they drive the interpreter, present the operand byte of the
// relative branches and of JMP absolute signed, and leave the next address in PC.
//
//   Run run(machine, host, 0x0200);                  // a window keeps a Stop button alive:
//   while (run.Slice(1'000'000) == RunEnd::kRunning) { /* let events through */ }
//
//   RunFrom(machine, host, 0x0200);                  // or all at once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/address_set.h"
#include "cpu/machine.h"
#include "cpu/machine_host.h"

namespace zorvan::cpu {

enum class RunEnd {
    kRunning,      // not ended yet (only from Run::Slice)
    kEmptyCell,    // reached a cell holding 0; PC = its address + 1
    kStackFull,    // a push found the stack full; halt flag set; PC = the push's next + 1
    kNotExecuted,  // met an opcode the interpreter does not execute; PC = its address + 1
    kStopped,      // stopped by the user, or at a breakpoint (AtBreakpoint); PC = the next
                   // instruction not yet executed
    kLimit,        // RunFrom's instruction limit reached; PC = the next instruction not executed
};

inline constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

inline constexpr std::string_view kStoppedByUserMessage = "Η εκτέλεση διακόπηκε από τον χρήστη.";
inline constexpr std::string_view kStackFullMessage = "Μνήμη σωρού πλήρης.";
// "Η εντολή %02X στη διεύθυνση %04X δεν εκτελείται. Η εκτέλεση σταμάτησε."
std::string NotExecutedMessage(int opcode, int address);

class SlipChecks;

// Executes the instruction at address whatever it is (no empty-cell or halt test); PC := next.
// slips, when given, hears of what the instruction does.
void StepAt(Machine& machine, MachineHost& host, int address, SlipChecks* slips = nullptr);

// A run from a start address, executed in slices so that a window can keep a Stop button alive
// between them. A whole run equals its slices back to back, whatever their sizes.
class Run {
  public:
    // Clears the halt flag; PC is not set here.
    Run(Machine& machine, MachineHost& host, int start);

    // Stops the run before any instruction at one of these addresses except the very first one
    // it executes, so that a run started on a breakpoint goes on. nullptr (the default) or an
    // empty set watches nothing and costs nothing. The run keeps a copy of the set.
    void WatchBreakpoints(const AddressSet* breakpoints);
    // The run ended kStopped before an instruction at a watched address, PC on it.
    bool AtBreakpoint() const { return atBreakpoint_; }
    // Goes on from a stop at a breakpoint, past it: the next slice executes its instruction.
    void PassBreakpoint();
    // Tells slips what the run's instructions do (SlipChecks); nullptr (the default) tells
    // nothing and costs nothing. slips must outlive the run. recorded: the run's calls and
    // returns are logged for Πίσω, each at its place in the history (SlipChecks::RecordingFrom).
    void WatchSlips(SlipChecks* slips, bool recorded = false);

    // Executes at most instructionBudget instructions; kRunning when the run has not ended yet.
    // A run that has ended returns its end again and executes nothing.
    RunEnd Slice(std::int64_t instructionBudget);
    // Ends a run that has not ended: kStopped with PC at the next instruction not executed (or the
    // natural end when the run stands exactly at one). Returns the end.
    RunEnd Stop();

    std::int64_t ExecutedCount() const { return executed_; }
    RunEnd End() const { return end_; }
    // The next instruction's address while running; after the end, where the run stopped.
    int Address() const { return address_; }
    // Valid when End() is kNotExecuted.
    int NotExecutedOpcode() const { return notExecutedOpcode_; }
    int NotExecutedAddress() const { return notExecutedAddress_; }

  private:
    RunEnd Finish(RunEnd end, std::int32_t pc);
    template <bool kWatch, bool kChecks, bool kRecorded>
    RunEnd SliceOf(std::int64_t instructionBudget);
    // Sends the opcodes that now stand on a breakpoint through its test (breakpointKeys_).
    void WatchBreakpointOpcodes();

    Machine& machine_;
    MachineHost& host_;
    // One byte per address, 1 on a breakpoint, or none.
    std::unique_ptr<std::uint8_t[]> breakpoints_;
    std::vector<int> breakpointAddresses_;
    // The run loop's switch keys by cell value, as for a run without breakpoints except the
    // opcodes that stand on one: those take a case that tests the address first. The test then
    // costs nothing on the instructions whose opcode is on no breakpoint, where a test of every
    // instruction's address cost a run with the slip checks on some 10%.
    std::unique_ptr<std::uint16_t[]> breakpointKeys_;
    SlipChecks* slips_ = nullptr;
    bool recordedCalls_ = false;
    bool atBreakpoint_ = false;
    // The executed count at the run's start or at its last PassBreakpoint: the instruction then
    // is exempt from the breakpoints.
    std::int64_t resumedAt_ = 0;
    int address_;
    std::int64_t executed_ = 0;
    RunEnd end_ = RunEnd::kRunning;
    int notExecutedOpcode_ = 0;
    int notExecutedAddress_ = 0;
};

// A whole run from start. limit bounds the number of instructions executed (kLimit when reached
// before the run ends by itself). executed, when given, receives how many were.
RunEnd RunFrom(Machine& machine, MachineHost& host, int start, std::int64_t limit = kNoLimit,
               std::int64_t* executed = nullptr);

}  // namespace zorvan::cpu
